// Writes dbsrc/reference/html.tsv:
//   node html.mjs [--renumber]
// The elements and their status come from @mdn/browser-compat-data, their
// attributes from html-element-attributes, the tag's shape from
// html-void-elements, the event attributes from html-event-attributes. The
// categories are the sections of the HTML standard that define the elements;
// deprecated elements go to "Obsolete". Html rows: kind 0 is an entry,
// kind 1 a category.

import path from 'node:path';
import { fileURLToPath } from 'node:url';
import bcd from '@mdn/browser-compat-data' with { type: 'json' };
import { htmlElementAttributes } from 'html-element-attributes';
import { htmlEventAttributes } from 'html-event-attributes';
import { htmlVoidElements } from 'html-void-elements';
import { writeTable } from './lib/rows.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const ENTRY = 0;
const CATEGORY = 1;

// Sections of the HTML standard, in its order, with the elements each defines.
const SECTIONS = [
  ['metadata', '文档与元数据', 'Document metadata', 'html head title base link meta style'],
  ['sections', '分区', 'Sections', 'body article section nav aside h1 h2 h3 h4 h5 h6 hgroup header footer address search'],
  ['grouping', '内容分组', 'Grouping content', 'p hr pre blockquote ol ul menu li dl dt dd figure figcaption main div'],
  ['text', '文本级语义', 'Text-level semantics', 'a em strong small s cite q dfn abbr ruby rt rp data time code var samp kbd sub sup i b u mark bdi bdo span br wbr ins del'],
  ['embedded', '嵌入内容', 'Embedded content', 'picture source img iframe embed object video audio track map area model'],
  ['tables', '表格', 'Tabular data', 'table caption colgroup col tbody thead tfoot tr td th'],
  ['forms', '表单', 'Forms', 'form label input button select datalist optgroup option textarea output progress meter fieldset legend selectedcontent'],
  ['interactive', '交互元素', 'Interactive elements', 'details summary dialog camera geolocation install microphone usermedia'],
  ['scripting', '脚本', 'Scripting', 'script noscript template slot canvas'],
  ['obsolete', '已废弃', 'Obsolete', ''],
  ['global', '全局属性', 'Global attributes', ''],
  ['events', '事件属性', 'Event attributes', ''],
];

const categories = new Map();
const sectionOf = new Map();
SECTIONS.forEach(([key, zh, en, elements], i) => {
  const c = `${String(i + 1).padStart(2, '0')} ${en}`;
  categories.set(key, { b: `${zh} (${en})`, c, d: [c], e: CATEGORY, children: [] });
  for (const el of elements.split(' ').filter(Boolean)) sectionOf.set(el, key);
});

const voids = new Set(htmlVoidElements);

// The element's lines: its tag's shape, then its own attributes.
export function elementLines(name, attributes, isVoid) {
  const lines = [isVoid ? `${name}: <${name}>` : `${name}: <${name}>...</${name}>`];
  if (attributes.length) lines.push(`${name} attributes: ${attributes.join(', ')}`);
  return lines;
}

for (const [name, data] of Object.entries(bcd.html.elements)) {
  const status = data.__compat?.status ?? {};
  const section = status.deprecated ? 'obsolete' : sectionOf.get(name);
  if (!section) throw new Error(`no section for the element ${name}`);
  const attributes = [...(htmlElementAttributes[name] ?? [])].sort();
  categories.get(section).children.push({
    b: name, c: name, d: elementLines(name, attributes, voids.has(name)), e: ENTRY,
  });
}
for (const name of htmlElementAttributes['*']) {
  categories.get('global').children.push({ b: name, c: name, d: [`${name}="..."`], e: ENTRY });
}
for (const name of htmlEventAttributes) {
  categories.get('events').children.push({ b: name, c: name, d: [`${name}="..."`], e: ENTRY });
}

const out = path.join(here, '../../dbsrc/reference/html.tsv');
const n = writeTable([...categories.values()], out,
  { categoryKinds: [CATEGORY], renumber: process.argv.includes('--renumber') });
console.log(`${out}: ${n} rows`);
