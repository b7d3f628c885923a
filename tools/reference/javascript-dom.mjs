// The browser (DOM) globals that the JavaScript page shows: the ones a web
// page's script uses most, out of the thousands that lib.dom.d.ts declares.

export const DOM_FUNCTIONS = [
  'alert', 'atob', 'btoa', 'cancelAnimationFrame', 'clearInterval', 'clearTimeout', 'confirm',
  'fetch', 'getComputedStyle', 'matchMedia', 'open', 'postMessage', 'print', 'prompt',
  'queueMicrotask', 'requestAnimationFrame', 'setInterval', 'setTimeout', 'structuredClone',
  'addEventListener', 'removeEventListener', 'dispatchEvent', 'scrollTo', 'scrollBy',
];

// [global value, interface of its members]
export const DOM_OBJECTS = [
  ['window', 'Window'],
  ['document', 'Document'],
  ['console', 'Console'],
  ['localStorage', 'Storage'],
  ['sessionStorage', 'Storage'],
  ['location', 'Location'],
  ['navigator', 'Navigator'],
  ['history', 'History'],
  ['screen', 'Screen'],
  ['performance', 'Performance'],
];

export const DOM_CONSTRUCTORS = [
  'AbortController', 'AbortSignal', 'Blob', 'CustomEvent', 'DOMParser', 'Element',
  'Event', 'EventTarget', 'File', 'FileList', 'FileReader', 'FormData', 'Headers',
  'HTMLAnchorElement', 'HTMLCanvasElement', 'HTMLElement', 'HTMLFormElement', 'HTMLImageElement',
  'HTMLInputElement', 'HTMLSelectElement', 'HTMLTextAreaElement', 'Image', 'IntersectionObserver',
  'KeyboardEvent', 'MouseEvent', 'MutationObserver', 'Node', 'NodeList', 'Request',
  'ResizeObserver', 'Response', 'Storage', 'Text', 'URL', 'URLSearchParams', 'WebSocket',
  'Worker', 'XMLHttpRequest', 'CanvasRenderingContext2D', 'DOMTokenList',
];
