// Prototype text for column "d": one or more syntax lines joined by ";".
// A line itself must therefore hold no ";" and no tab or line break; the
// sources write ";" inside object types ({ a: T; b: U; }), in the descriptor
// blocks of CSS at-rules and as a statement's end, so those are rewritten.

// Rewrites one prototype line so that it holds no ";", tab or line break:
// - runs of white space (line breaks included) become one space;
// - a ";" that ends the line is dropped;
// - inside braces, brackets or parentheses a ";" before a closing bracket is
//   dropped and any other ";" becomes ",";
// - inside a quoted string a ";" becomes the escape \x3B;
// - a ";" left at the top level separates two clauses and becomes ",".
export function rewritePrototype(text) {
  let s = String(text).replace(/\s+/g, ' ').trim();
  let out = '';
  let quote = null;
  for (let i = 0; i < s.length; i++) {
    const ch = s[i];
    if (quote) {
      if (ch === '\\' && i + 1 < s.length) {
        out += ch + s[++i];
        continue;
      }
      if (ch === quote) quote = null;
      out += ch === ';' ? '\\x3B' : ch;
      continue;
    }
    if (ch === '"' || ch === "'" || ch === '`') {
      quote = ch;
      out += ch;
      continue;
    }
    if (ch !== ';') {
      out += ch;
      continue;
    }
    // a ";" outside strings: look at what follows it
    let j = i + 1;
    while (j < s.length && s[j] === ' ') j++;
    if (j >= s.length || '}])'.includes(s[j])) {
      continue;                      // a terminator: drop it
    }
    out += ',';
  }
  return out.replace(/ +/g, ' ').replace(/ ,/g, ',').trim();
}

// Joins the prototype lines of one entry into column "d".
export function joinPrototypes(lines) {
  return lines.map(rewritePrototype).filter((l) => l.length > 0).join(';');
}
