// Cases of the prototype rewriting: a line of column "d" may hold no ";",
// tab or line break, whatever the source wrote.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { rewritePrototype, joinPrototypes } from '../lib/prototype.mjs';

test('object types separate their members with "," instead of ";"', () => {
  assert.equal(rewritePrototype('f(o: { a: string; b?: number; }): void'),
    'f(o: { a: string, b?: number }): void');
  assert.equal(rewritePrototype('g(): { x: { y: T; }; z: U; }'), 'g(): { x: { y: T }, z: U }');
  assert.equal(rewritePrototype('h(a: [x: A; y: B])'), 'h(a: [x: A, y: B])');
});

test('white space, tabs and line breaks collapse to one space', () => {
  assert.equal(rewritePrototype('@media <media-query-list> {\n  <group-rule-body>\n}'),
    '@media <media-query-list> { <group-rule-body> }');
  assert.equal(rewritePrototype('  a\t(b,\r\n c)  '), 'a (b, c)');
});

test('a ";" that ends a statement or a descriptor is dropped', () => {
  assert.equal(rewritePrototype('@charset "<charset>";'), '@charset "<charset>"');
  assert.equal(rewritePrototype('@namespace <namespace-prefix>? [ <string> | <url> ];'),
    '@namespace <namespace-prefix>? [ <string> | <url> ]');
  assert.equal(rewritePrototype('@font-face {\n  [ font-family: <family-name>; ] ||\n  [ src: <src>; ]\n}'),
    '@font-face { [ font-family: <family-name> ] || [ src: <src> ] }');
});

test('a ";" inside a string becomes its escape, other ";" become ","', () => {
  assert.equal(rewritePrototype('explode(string $separator = ";")'), 'explode(string $separator = "\\x3B")');
  assert.equal(rewritePrototype("f(s = 'a;b', t = \"c\\\";\")"), "f(s = 'a\\x3Bb', t = \"c\\\"\\x3B\")");
  assert.equal(rewritePrototype('a; b'), 'a, b');
});

test('lines are joined with ";" and none of them holds one', () => {
  const d = joinPrototypes(['f(o: { a: A; })', '', 'f(): void;']);
  assert.equal(d, 'f(o: { a: A });f(): void');
  for (const line of d.split(';')) assert.ok(line.startsWith('f('));
});
