// Writes dbsrc/reference/css.tsv from the npm package mdn-data:
//   node css.mjs [--renumber]
// Every property with its value syntax under the category of its first
// group, vendor-prefixed properties in one category, then the at-rules,
// pseudo-classes, pseudo-elements and functions. CSS rows: kind 0 is an
// entry, kind 1 a category.

import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { writeTable } from './lib/rows.mjs';

const require = createRequire(import.meta.url);
const here = path.dirname(fileURLToPath(import.meta.url));
const properties = require('mdn-data/css/properties.json');
const atRules = require('mdn-data/css/at-rules.json');
const selectors = require('mdn-data/css/selectors.json');
const functions = require('mdn-data/css/functions.json');

const ENTRY = 0;
const CATEGORY = 1;

// mdn-data group => Chinese title; the order here is the order of the page.
const GROUPS = [
  ['CSS Box Model', '盒模型'],
  ['CSS Box Sizing', '盒尺寸'],
  ['CSS Display', '显示'],
  ['CSS Positioned Layout', '定位'],
  ['CSS Flexible Box Layout', '弹性盒布局'],
  ['CSS Grid Layout', '网格布局'],
  ['CSS Box Alignment', '盒对齐'],
  ['CSS Multi-column Layout', '多列布局'],
  ['CSS Table', '表格'],
  ['CSS Overflow', '溢出'],
  ['CSS Backgrounds and Borders', '背景与边框'],
  ['CSS Color', '颜色'],
  ['CSS Images', '图像'],
  ['CSS Fonts', '字体'],
  ['CSS Text', '文本'],
  ['CSS Text Decoration', '文本装饰'],
  ['CSS Inline', '行内布局'],
  ['CSS Writing Modes', '书写模式'],
  ['CSS Ruby', '注音'],
  ['CSS Lists and Counters', '列表与计数器'],
  ['CSS Generated Content', '生成内容'],
  ['CSS Logical Properties and Values', '逻辑属性'],
  ['CSS Transforms', '变换'],
  ['CSS Transitions', '过渡'],
  ['CSS Animations', '动画'],
  ['Scroll-driven Animations', '滚动驱动动画'],
  ['CSS View Transitions', '视图过渡'],
  ['Motion Path', '运动路径'],
  ['Filter Effects', '滤镜效果'],
  ['Compositing and Blending', '合成与混合'],
  ['CSS Masking', '遮罩与裁剪'],
  ['CSS Shapes', '形状'],
  ['CSS Anchor Positioning', '锚点定位'],
  ['CSS Basic User Interface', '基本用户界面'],
  ['Pointer Events', '指针事件'],
  ['CSS Scroll Snap', '滚动吸附'],
  ['CSS Scroll Anchoring', '滚动锚定'],
  ['CSS Scrollbars Styling', '滚动条样式'],
  ['CSS Overscroll Behavior', '过度滚动'],
  ['CSS Fragmentation', '分片'],
  ['CSS Paged Media', '分页媒体'],
  ['CSS Containment', '包含'],
  ['CSS Conditional Rules', '条件规则'],
  ['CSS Cascading and Inheritance', '层叠与继承'],
  ['CSS Custom Properties for Cascading Variables', '自定义属性'],
  ['CSS Values and Units', '值与单位'],
  ['CSS Rhythmic Sizing', '节奏尺寸'],
  ['CSS Will Change', '变化提示'],
  ['CSS Mobile Text Size Adjustment', '移动端文本大小'],
  ['CSS Viewport', '视口'],
  ['CSS Speech', '语音'],
  ['Scalable Vector Graphics', 'SVG'],
  ['MathML', 'MathML'],
  ['Vendor-prefixed', '厂商前缀'],
  ['At-rules', '@规则'],
  ['Pseudo-classes', '伪类'],
  ['Pseudo-elements', '伪元素'],
  ['Functions', '函数'],
];
const VENDOR_GROUPS = ['Microsoft Extensions', 'Mozilla Extensions', 'WebKit Extensions'];

const englishName = (group) => group.replace(/^CSS /, '');
const categories = new Map(GROUPS.map(([group, zh], i) => {
  const c = `${String(i + 1).padStart(2, '0')} ${englishName(group)}`;
  return [group, { b: `${zh} (${englishName(group)})`, c, d: [c], e: CATEGORY, children: [] }];
}));

function categoryOf(name, groups) {
  if (/^-[a-z]/.test(name) || VENDOR_GROUPS.includes(groups[0])) return 'Vendor-prefixed';
  return groups[0];
}

// An entry whose syntax does not begin with its name gets "name: syntax".
function entry(name, syntax) {
  const line = syntax.startsWith(name) ? syntax : `${name}: ${syntax}`;
  return { b: name, c: name, d: [line], e: ENTRY };
}

function place(group, node) {
  const cat = categories.get(group);
  if (!cat) throw new Error(`no category for the group "${group}" (${node.c})`);
  // ":host" and ":host()" are one name with two forms: one entry, two lines
  const same = cat.children.find((c) => c.c === node.c);
  if (same) same.d.push(...node.d);
  else cat.children.push(node);
}

for (const [name, p] of Object.entries(properties)) {
  place(categoryOf(name, p.groups), entry(name, p.syntax));
}
for (const [name, a] of Object.entries(atRules)) {
  place('At-rules', entry(name, a.syntax));
}
for (const [name, s] of Object.entries(selectors)) {
  if (!name.startsWith(':')) continue;       // selector kinds and combinators are no names
  const bare = name.replace(/\(\)$/, '');
  place(name.startsWith('::') ? 'Pseudo-elements' : 'Pseudo-classes', entry(bare, s.syntax));
}
for (const [name, f] of Object.entries(functions)) {
  place('Functions', entry(name.replace(/\(\)$/, ''), f.syntax));
}

const nodes = [...categories.values()].filter((c) => c.children.length > 0);
const out = path.join(here, '../../dbsrc/reference/css.tsv');
const n = writeTable(nodes, out, { categoryKinds: [CATEGORY], renumber: process.argv.includes('--renumber') });
console.log(`${out}: ${n} rows`);
