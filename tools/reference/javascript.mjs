// Writes dbsrc/reference/javascript.tsv from the lib files of the npm package
// typescript (pinned, see package.json), read with its compiler API:
//   node javascript.mjs [--renumber]
// Every ECMAScript global object with its static and prototype members, the
// global functions and values, Intl and Reflect, and a chosen set of browser
// (DOM) globals. The typed arrays are one TypedArray entry. JavaScript rows:
// 0 category, 1 global function, 2 global object or value, 3 constructor,
// 4 method, 5 property.

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import ts from 'typescript';
import { writeTable } from './lib/rows.mjs';
import { DOM_FUNCTIONS, DOM_OBJECTS, DOM_CONSTRUCTORS } from './javascript-dom.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const K = { CATEGORY: 0, FUNCTION: 1, OBJECT: 2, CONSTRUCTOR: 3, METHOD: 4, PROPERTY: 5 };
const TYPED_ARRAYS = ['Int8Array', 'Uint8Array', 'Uint8ClampedArray', 'Int16Array', 'Uint16Array',
  'Int32Array', 'Uint32Array', 'Float16Array', 'Float32Array', 'Float64Array', 'BigInt64Array',
  'BigUint64Array'];

// A program over the ECMAScript and DOM libraries with one empty file of ours.
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quillet-js-'));
const root = path.join(dir, 'empty.ts');
fs.writeFileSync(root, 'export {};\n');
const program = ts.createProgram([root], {
  lib: ['lib.esnext.d.ts', 'lib.dom.d.ts'], target: ts.ScriptTarget.ESNext, noEmit: true, strict: true,
});
const checker = program.getTypeChecker();
const isEsFile = (f) => /lib\.es[0-9a-z.]*\.d\.ts$/.test(path.basename(f.fileName));
const isDomFile = (f) => path.basename(f.fileName) === 'lib.dom.d.ts';
fs.rmSync(dir, { recursive: true });

const typeText = (type) => checker.typeToString(type, undefined, ts.TypeFormatFlags.NoTruncation);

function signatureText(name, sig) {
  const text = checker.signatureToString(sig, undefined, ts.TypeFormatFlags.NoTruncation);
  // signatureToString gives "<T>(a: T): U"; the name goes in front
  // strict mode writes optional parameters and members as "x?: T | undefined";
  // nested ones are dropped from the inside out
  let s = text.replace(/^new\s*/, '');
  for (let prev = ''; prev !== s;) {
    prev = s;
    s = s.replace(/(\?: [^,()]*?) \| undefined(?=\s*[,;)}])/g, '$1');
  }
  return name + s;
}

const unique = (lines) => [...new Set(lines)];

// The display name of a member: a symbol-keyed one is written [Symbol.x].
function memberName(sym) {
  const name = sym.getName();
  if (!name.startsWith('__@')) return name;
  const decl = sym.declarations?.[0];
  return decl?.name ? decl.name.getText() : null;
}

const join = (owner, name) => (name.startsWith('[') ? `${owner}${name}` : `${owner}.${name}`);

// Members of a type as tree children named owner.member.
function members(owner, type, declaredOnly, { skip = new Set(), rename = (s) => s } = {}) {
  const out = [];
  const props = declaredOnly ? declaredMembers(type) : checker.getPropertiesOfType(type);
  for (const sym of props) {
    const short = memberName(sym);
    if (!short || skip.has(short)) continue;
    const name = join(owner, short);
    const decl = sym.valueDeclaration ?? sym.declarations?.[0];
    if (!decl) continue;
    const t = checker.getTypeOfSymbolAtLocation(sym, decl);
    const isMethod = sym.flags & ts.SymbolFlags.Method
      || (ts.isMethodSignature(decl) || ts.isMethodDeclaration(decl));
    let lines;
    if (isMethod) {
      lines = checker.getNonNullableType(t).getCallSignatures().map((s) => rename(signatureText(name, s)));
    } else {
      const ro = decl.modifiers?.some((m) => m.kind === ts.SyntaxKind.ReadonlyKeyword) ? ' (readonly)' : '';
      // the type as the declaration writes it (shorter than the expanded one)
      const written = decl.type ? decl.type.getText() : typeText(t);
      const optional = decl.questionToken ? '?' : '';
      lines = [rename(`${name}${optional}: ${written}${ro}`)];
    }
    if (!lines.length) lines = [name];
    out.push({ b: name, c: name, d: unique(lines), e: isMethod ? K.METHOD : K.PROPERTY });
  }
  return out;
}

// The members an interface declares itself (in any of its merged
// declarations) or takes from mixins (base interfaces that are no global
// object of their own, such as ParentNode for Element), not those it
// inherits from a real base such as Node.
function declaredMembers(type) {
  const sym = type.getSymbol?.() ?? type.symbol;
  const all = checker.getPropertiesOfType(type);
  if (!sym?.declarations) return all;
  const own = new Set();
  const visit = (t, first) => {
    const s = t.getSymbol?.() ?? t.symbol;
    if (!s?.declarations) return;
    if (!first && globals.get(s.getName())?.variable) return;
    for (const d of s.declarations) own.add(d);
    if (t.isClassOrInterface?.()) for (const base of checker.getBaseTypes(t) ?? []) visit(base, false);
  };
  visit(checker.getDeclaredTypeOfSymbol(sym), true);
  return all.filter((p) => p.declarations?.some((d) => own.has(d.parent)));
}

// Global declarations by name: value (var/function/namespace) and interface.
const globals = new Map();
for (const file of program.getSourceFiles()) {
  const es = isEsFile(file);
  if (!es && !isDomFile(file)) continue;
  // statements inside "declare global { }" declare globals as well
  const statements = file.statements.flatMap((st) => (ts.isModuleDeclaration(st)
    && st.flags & ts.NodeFlags.GlobalAugmentation && st.body ? st.body.statements : [st]));
  for (const st of statements) {
    const add = (name, what, node) => {
      const g = globals.get(name) ?? { name, es: false, dom: false };
      g[what] = g[what] ?? node;
      if (es) g.es = true; else g.dom = true;
      globals.set(name, g);
    };
    if (ts.isVariableStatement(st)) {
      for (const d of st.declarationList.declarations) add(d.name.getText(file), 'variable', d);
    } else if (ts.isFunctionDeclaration(st) && st.name) {
      add(st.name.text, 'function', st);
    } else if (ts.isModuleDeclaration(st)) {
      add(st.name.getText(file), 'namespace', st);
    }
  }
}

function symbolOf(node) {
  return checker.getSymbolAtLocation(node.name);
}

function functionLines(name, node) {
  const sym = symbolOf(node);
  const t = checker.getTypeOfSymbolAtLocation(sym, node);
  return unique(t.getCallSignatures().map((s) => signatureText(name, s)));
}

// An object declared as "var Name: NameConstructor" (with an interface Name
// for its instances) or "var Name: Name" (a namespace object such as Math).
function objectEntry(name, node, { rename = (s) => s, instanceName = name } = {}) {
  const sym = symbolOf(node);
  const staticType = checker.getTypeOfSymbolAtLocation(sym, node);
  const lines = [
    ...staticType.getConstructSignatures().map((s) => rename(signatureText(name, s))),
    ...staticType.getCallSignatures().map((s) => rename(signatureText(name, s))),
  ];
  const children = [];
  const instanceSym = checker.resolveName(instanceName, undefined, ts.SymbolFlags.Interface, false);
  const instanceType = instanceSym ? checker.getDeclaredTypeOfSymbol(instanceSym) : undefined;
  const namespaceObject = instanceType && staticType === instanceType;
  children.push(...members(name, staticType, false, { skip: new Set(['prototype']), rename }));
  if (instanceType && !namespaceObject) {
    children.push(...members(`${name}.prototype`, instanceType, true, { rename }));
  }
  const kind = lines.length === 0 || namespaceObject ? K.OBJECT : K.CONSTRUCTOR;
  if (!lines.length) lines.push(`${name}: ${namespaceObject ? 'object' : typeText(staticType)}`);
  return { b: name, c: name, d: unique(lines), e: kind, children };
}

const nodes = [];
const category = (c, zh, en) => {
  const node = { b: `${zh} (${en})`, c, d: [c], e: K.CATEGORY, children: [] };
  nodes.push(node);
  return node;
};
const esFunctions = category('01 Global functions', '全局函数', 'Global functions');
const esValues = category('02 Global properties', '全局属性', 'Global properties');
const domFunctions = category('03 Browser functions', '浏览器全局函数', 'Browser functions');

for (const g of [...globals.values()].sort((x, y) => (x.name < y.name ? -1 : 1))) {
  if (!g.es) continue;
  if (TYPED_ARRAYS.includes(g.name)) continue;
  if (g.function && !g.variable) {
    esFunctions.children.push({ b: g.name, c: g.name, d: functionLines(g.name, g.function), e: K.FUNCTION });
  } else if (g.variable) {
    const t = checker.getTypeOfSymbolAtLocation(symbolOf(g.variable), g.variable);
    if (t.flags & (ts.TypeFlags.NumberLike | ts.TypeFlags.StringLike | ts.TypeFlags.BooleanLike)) {
      esValues.children.push({ b: g.name, c: g.name, d: [`${g.name}: ${typeText(t)}`], e: K.OBJECT });
    } else {
      // Iterator's instances are described by the interface IteratorObject
      nodes.push(objectEntry(g.name, g.variable,
        g.name === 'Iterator' ? { instanceName: 'IteratorObject' } : {}));
    }
  } else if (g.namespace) {
    nodes.push(...namespaceEntries(g.name, g.namespace));
  }
}

// A namespace (Intl, Reflect, WebAssembly): its functions and constructors
// under it; each of its constructors also stands as an entry of its own
// ("Intl.Collator") with its members.
function namespaceEntries(name, node) {
  const sym = symbolOf(node);
  const exports = checker.getExportsOfModule(sym);
  const top = { b: name, c: name, d: [`${name}: namespace`], e: K.OBJECT, children: [] };
  const more = [];
  for (const ex of exports) {
    const full = `${name}.${ex.getName()}`;
    const decl = ex.valueDeclaration;
    if (!decl) continue;
    if (ts.isFunctionDeclaration(decl)) {
      top.children.push({ b: full, c: full, d: functionLines(full, decl), e: K.METHOD });
    } else if (ts.isVariableDeclaration(decl)) {
      const t = checker.getTypeOfSymbolAtLocation(ex, decl);
      if (t.getConstructSignatures().length || t.getCallSignatures().length) {
        const ctor = objectEntryFromType(full, t, ex.getName(), node);
        top.children.push({ b: full, c: full, d: ctor.d, e: K.METHOD });
        more.push(ctor);
      } else {
        top.children.push({ b: full, c: full, d: [`${full}: ${typeText(t)}`], e: K.PROPERTY });
      }
    }
  }
  return [top, ...more];
}

function objectEntryFromType(name, staticType, shortName, nsNode) {
  const lines = [
    ...staticType.getConstructSignatures().map((s) => signatureText(name, s)),
    ...staticType.getCallSignatures().map((s) => signatureText(name, s)),
  ];
  const children = members(name, staticType, false, { skip: new Set(['prototype']) });
  const nsSym = symbolOf(nsNode);
  const inst = checker.getExportsOfModule(nsSym).find((s) => s.getName() === shortName && (s.flags & ts.SymbolFlags.Interface));
  if (inst) {
    children.push(...members(`${name}.prototype`, checker.getDeclaredTypeOfSymbol(inst), true));
  }
  return { b: name, c: name, d: unique(lines), e: K.CONSTRUCTOR, children };
}

// The typed arrays: one entry, its members written once for all of them
// (taken from Int8Array with the name replaced), each kind as a child with
// its constructors.
{
  const rename = (s) => s.replace(/\bInt8Array\b/g, 'TypedArray');
  const template = objectEntry('Int8Array', globals.get('Int8Array').variable, {});
  const typed = {
    b: 'TypedArray', c: 'TypedArray', e: K.CONSTRUCTOR,
    d: unique(template.d.map(rename)),
    children: template.children.map((ch) => ({
      ...ch, b: rename(ch.b), c: rename(ch.c), d: unique(ch.d.map(rename)),
    })),
  };
  for (const name of TYPED_ARRAYS) {
    const g = globals.get(name);
    if (!g?.variable) continue;
    const t = checker.getTypeOfSymbolAtLocation(symbolOf(g.variable), g.variable);
    typed.children.push({
      b: name, c: name, e: K.METHOD,
      d: unique(t.getConstructSignatures().map((s) => signatureText(name, s))),
    });
  }
  nodes.push(typed);
}

// The chosen browser globals.
for (const name of DOM_FUNCTIONS) {
  const g = globals.get(name);
  if (!g?.function) throw new Error(`no DOM function ${name}`);
  domFunctions.children.push({ b: name, c: name, d: functionLines(name, g.function), e: K.FUNCTION });
}
for (const [name, iface] of DOM_OBJECTS) {
  // window, document, console...: a value whose members are its interface's
  const g = globals.get(name);
  if (!g?.variable) throw new Error(`no DOM object ${name}`);
  const sym = checker.resolveName(iface, undefined, ts.SymbolFlags.Interface, false);
  const type = checker.getDeclaredTypeOfSymbol(sym);
  const children = members(name, type, iface !== 'Storage' && iface !== 'Console' ? true : false);
  nodes.push({ b: name, c: name, d: [`${name}: ${iface}`], e: K.OBJECT, children });
}
for (const name of DOM_CONSTRUCTORS) {
  const g = globals.get(name);
  if (!g?.variable) throw new Error(`no DOM constructor ${name}`);
  nodes.push(objectEntry(name, g.variable));
}

const out = path.join(here, '../../dbsrc/reference/javascript.tsv');
const n = writeTable(nodes, out, { categoryKinds: [K.CATEGORY], renumber: process.argv.includes('--renumber') });
console.log(`${out}: ${n} rows`);
