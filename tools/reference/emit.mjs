// Writes one reference table's text file from a tree in JSON:
//   node emit.mjs <tree.json> <out.tsv> [--renumber]
// The JSON holds { table: "php" | "css" | "html" | "javascript", nodes: [...] }.
import fs from 'node:fs';
import { writeTable } from './lib/rows.mjs';

const [input, output, flag] = process.argv.slice(2);
if (!input || !output) {
  console.error('usage: node emit.mjs <tree.json> <out.tsv> [--renumber]');
  process.exit(2);
}
const tree = JSON.parse(fs.readFileSync(input, 'utf8'));
const categoryKinds = ['css', 'html'].includes(tree.table) ? [1] : [0];
const n = writeTable(tree.nodes, output, { categoryKinds, renumber: flag === '--renumber' });
console.log(`${output}: ${n} rows`);
