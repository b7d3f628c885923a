// The rows of a table: checks of the tree and the stable ids.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { flatten, assignIds, readIds, toTsv, writeTable } from '../lib/rows.mjs';

const tree = () => [
  { b: 'Zeta class', c: 'Zeta', d: ['Zeta()'], e: 3, children: [{ b: 'Zeta::b', c: 'Zeta::b', d: ['Zeta::b()'], e: 4 }] },
  { b: '字符串 (String)', c: '02 String', d: ['02 String'], e: 0, children: [
    { b: 'strlen', c: 'strlen', d: ['strlen(string $string): int'], e: 1 },
    { b: 'addslashes', c: 'addslashes', d: ['addslashes(string $string): string'], e: 1 },
  ] },
  { b: '数组 (Array)', c: '03 Array', d: ['03 Array'], e: 0, children: [
    { b: 'count', c: 'count', d: ['count(Countable|array $value, int $mode = COUNT_NORMAL): int'], e: 1 },
  ] },
];

test('new ids: categories first, then the other top-level rows, then entries by parent and name', () => {
  const rows = assignIds(flatten(tree(), { categoryKinds: [0] }));
  assert.deepEqual(rows.map((r) => [r.a, r.c, r.f]), [
    [1, '02 String', 0], [2, '03 Array', 0], [3, 'Zeta', 0],
    [4, 'addslashes', 1], [5, 'strlen', 1], [6, 'count', 2], [7, 'Zeta::b', 3],
  ]);
});

test('a regenerated file keeps every id and numbers only the new rows', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'rows-test-'));
  const file = path.join(dir, 't.tsv');
  writeTable(tree(), file, { categoryKinds: [0] });
  const first = fs.readFileSync(file, 'utf8');
  writeTable(tree(), file, { categoryKinds: [0] });
  assert.equal(fs.readFileSync(file, 'utf8'), first, 'same sources, same file');

  const changed = tree();
  changed[1].children.push({ b: 'chop', c: 'chop', d: ['chop(string $string): string'], e: 1 });
  changed[2].children = [];                   // count removed
  writeTable(changed, file, { categoryKinds: [0] });
  const ids = readIds(file);
  assert.equal(ids.get('02 String\u001fstrlen'), 5);
  assert.equal(ids.get('Zeta\u001fZeta::b'), 7);
  assert.equal(ids.get('02 String\u001fchop'), 8);
  assert.equal(ids.has('03 Array\u001fcount'), false);
  fs.rmSync(dir, { recursive: true });
});

test('the tree is checked before anything is written', () => {
  const bad = (mutate) => { const t = tree(); mutate(t); return () => flatten(t, { categoryKinds: [0] }); };
  assert.throws(bad((t) => { t[1].children[0].d = ['strln(string $string): int']; }), /does not start with the name/);
  assert.throws(bad((t) => { t[1].children[0].b = 'a\tb'; }), /tab or line break/);
  assert.throws(bad((t) => { t[1].children[0].c = ''; }), /empty/);
  assert.throws(bad((t) => { t[1].children.push({ ...t[1].children[0] }); }), /duplicate/);
  assert.throws(bad((t) => { t[1].children[0].children = [{ b: 'x', c: 'x', d: [], e: 1 }]; }), /two levels/);
});

test('the text has a header and one row a line in id order', () => {
  const text = toTsv(assignIds(flatten(tree(), { categoryKinds: [0] })));
  const lines = text.trimEnd().split('\n');
  assert.equal(lines[0], 'a\tb\tc\td\te\tf');
  assert.equal(lines.length, 8);
  assert.equal(lines[5], '5\tstrlen\tstrlen\tstrlen(string $string): int\t1\t1');
});
