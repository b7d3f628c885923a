// Turns a reference tree (top-level nodes with their children) into the rows
// of one reference table and writes them as tab-separated text:
//   a (id)  b (title)  c (name)  d (prototypes)  e (kind)  f (parent id)
// Ids are stable: a row keeps the id it had in the previous file (matched by
// its parent's name and its own name); new rows get ids after the largest one,
// categories first, then entries by category and name.

import fs from 'node:fs';
import { joinPrototypes } from './prototype.mjs';

export const HEADER = 'a\tb\tc\td\te\tf';

const byName = (x, y) => (x.c < y.c ? -1 : x.c > y.c ? 1 : 0);

// Checks the tree and returns it flattened in the canonical order: the
// top-level rows (categories first, then by name), then the children of
// each, parent by parent, by name.
export function flatten(nodes, { categoryKinds }) {
  const isCategory = (n) => categoryKinds.includes(n.e);
  const top = [...nodes].sort((x, y) =>
    (isCategory(x) === isCategory(y) ? byName(x, y) : isCategory(x) ? -1 : 1));
  const rows = [];
  const seen = new Set();
  const add = (n, parentName) => {
    const key = `${parentName}\u001f${n.c}`;
    if (seen.has(key)) throw new Error(`duplicate entry ${parentName ? parentName + ' / ' : ''}${n.c}`);
    seen.add(key);
    const row = { key, parentKey: parentName === '' ? null : `\u001f${parentName}`,
      b: n.b, c: n.c, d: joinPrototypes(n.d ?? []), e: n.e };
    check(row);
    rows.push(row);
    return row;
  };
  for (const n of top) add(n, '');
  for (const n of top) {
    for (const child of [...(n.children ?? [])].sort(byName)) {
      if (child.children?.length) throw new Error(`${child.c}: only two levels are shown`);
      add(child, n.c);
    }
  }
  return rows;
}

function check(row) {
  for (const col of ['b', 'c', 'd']) {
    if (/[\t\r\n]/.test(row[col])) throw new Error(`${row.c}: tab or line break in "${col}"`);
  }
  if (!row.b || !row.c) throw new Error(`empty title or name: ${JSON.stringify(row)}`);
  if (!Number.isInteger(row.e)) throw new Error(`${row.c}: kind is not an integer`);
  for (const piece of row.d.split(';')) {
    if (!piece.startsWith(row.c)) throw new Error(`${row.c}: prototype "${piece}" does not start with the name`);
  }
}

// Reads the ids of a previous file: key (parent name + name) => id.
export function readIds(path) {
  const ids = new Map();
  if (!path || !fs.existsSync(path)) return ids;
  const lines = fs.readFileSync(path, 'utf8').split('\n').filter((l) => l.length > 0);
  const byId = new Map();
  const rows = lines.slice(1).map((l) => l.split('\t'));
  for (const r of rows) byId.set(Number(r[0]), r);
  for (const r of rows) {
    const parent = r[5] === '0' ? '' : byId.get(Number(r[5]))?.[2];
    if (parent !== undefined) ids.set(`${parent}\u001f${r[2]}`, Number(r[0]));
  }
  return ids;
}

// Gives every row its id ("a") and parent id ("f").
export function assignIds(rows, previous = new Map()) {
  const taken = new Set();
  const idOf = new Map();
  for (const row of rows) {
    const old = previous.get(row.key);
    if (old !== undefined && !taken.has(old)) {
      idOf.set(row.key, old);
      taken.add(old);
    }
  }
  let next = Math.max(0, ...taken) + 1;
  for (const row of rows) {
    if (!idOf.has(row.key)) {
      idOf.set(row.key, next);
      taken.add(next++);
    }
  }
  for (const row of rows) {
    row.a = idOf.get(row.key);
    row.f = row.parentKey === null ? 0 : idOf.get(row.parentKey);
    if (row.f === undefined) throw new Error(`${row.c}: parent not found`);
  }
  if (next > 2 ** 31) throw new Error('ids do not fit in 32 bits');
  return rows;
}

export function toTsv(rows) {
  const sorted = [...rows].sort((x, y) => x.a - y.a);
  return [HEADER, ...sorted.map((r) => [r.a, r.b, r.c, r.d, r.e, r.f].join('\t'))].join('\n') + '\n';
}

// Flattens, numbers (keeping the ids of the file already there unless
// renumber is set) and writes one table's file; returns the row count.
export function writeTable(nodes, outPath, { categoryKinds, renumber = false }) {
  const rows = flatten(nodes, { categoryKinds });
  assignIds(rows, renumber ? new Map() : readIds(outPath));
  fs.writeFileSync(outPath, toTsv(rows));
  return rows.length;
}
