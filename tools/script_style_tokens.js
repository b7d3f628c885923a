// node tools/script_style_tokens.js FILE...   (acorn and css-tree on NODE_PATH)
// For each FILE (*.js read by acorn's tokenizer, *.css by css-tree's) prints
// "= FILE", then "SLOT START END" (byte offsets) for every token the grammar
// colouring must put in that slot: comments 6; strings, template literal
// pieces and regular expressions 7; numbers (with units in CSS) 9; JavaScript
// keywords and CSS at-keywords 4. A file the tokenizer rejects is reported
// with "! FILE reason".
const fs = require('fs');
const acorn = require('acorn');
const csstree = require('css-tree');

for (const file of process.argv.slice(2)) {
    console.log('= ' + file);
    const text = fs.readFileSync(file, 'utf8');
    // UTF-16 index to UTF-8 byte offset.
    const bytes = new Uint32Array(text.length + 1);
    for (let i = 0, b = 0; i <= text.length; ++i) {
        bytes[i] = b;
        const c = text.charCodeAt(i);
        b += c < 0x80 ? 1 : c < 0x800 ? 2 : (c >= 0xd800 && c < 0xdc00) ? 4 : (c >= 0xdc00 && c < 0xe000) ? 0 : 3;
    }
    const out = [];
    const put = (slot, start, end) => { if (end > start) out.push(`${slot} ${bytes[start]} ${bytes[end]}`); };
    try {
        if (file.endsWith('.js')) {
            const options = { ecmaVersion: 'latest', allowHashBang: true, allowReturnOutsideFunction: true,
                              onComment: (block, t, start, end) => put(6, start, end) };
            let tokens;
            try {
                tokens = [...acorn.tokenizer(text, { ...options, sourceType: 'script' })];
            } catch (e) {
                out.length = 0;
                tokens = [...acorn.tokenizer(text, { ...options, sourceType: 'module' })];
            }
            for (const t of tokens) {
                const label = t.type.label;
                if (label === 'string' || label === 'template' || label === '`' || label === '${' || label === 'regexp')
                    put(7, t.start, t.end);
                else if (label === 'num')
                    put(9, t.start, t.end);
                else if (t.type.keyword)
                    put(4, t.start, t.end);
            }
        } else {
            const T = csstree.tokenTypes;
            csstree.tokenize(text, (type, start, end) => {
                if (type === T.Comment)
                    put(6, start, end);
                else if (type === T.String)
                    put(7, start, end);
                else if (type === T.Number || type === T.Percentage || type === T.Dimension)
                    put(9, start, end);
                else if (type === T.AtKeyword)
                    put(4, start, end);
            });
        }
        console.log(out.join('\n'));
    } catch (e) {
        console.log(`! ${file} ${e.message}`);
    }
}
