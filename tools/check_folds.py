#!/usr/bin/env python3
"""Checks the fold depth of every line against an independent reading.

For each PHP file given (or found under the folders given), the depth before
every line as `quillet-folds` prints it is compared with a depth computed
from PHP's own lexer (token_get_all, short tags on: the braces of the code,
not those of string interpolations) and Python's html.parser (the elements of
the HTML parts, with the PHP regions blanked out; void elements and those
whose end tag may be left out open no fold). Prints the files and lines
checked and differing; exits 1 when any line differs.

usage: check_folds.py QUILLET_FOLDS FILE_OR_FOLDER...
"""
import html.parser
import json
import os
import subprocess
import sys

NOT_COUNTED = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source",
               "track", "wbr", "p", "li", "dt", "dd", "tr", "td", "th", "option", "optgroup", "thead", "tbody",
               "tfoot", "colgroup", "rt", "rp"}

PHP_TOKENS = r'''
$src = file_get_contents($argv[1]);
$out = [];
$pos = 0;
$stack = [];
foreach (token_get_all($src) as $t) {
    $text = is_array($t) ? $t[1] : $t;
    $name = is_array($t) ? token_name($t[0]) : $t;
    if ($name === "T_CURLY_OPEN" || $name === "T_DOLLAR_OPEN_CURLY_BRACES") { $stack[] = 0; }
    elseif ($name === "{") { $stack[] = 1; $out[] = [$pos, 1]; }
    elseif ($name === "}") { if (array_pop($stack) === 1) $out[] = [$pos, -1]; }
    elseif ($name === "T_INLINE_HTML") { $out[] = [$pos, 0, strlen($text)]; }
    $pos += strlen($text);
}
echo json_encode($out);
'''


def line_starts(data):
    """Line starts as the editor splits lines: LF, CR LF and a lone CR end a line."""
    starts = [0]
    i, n = 0, len(data)
    while i < n:
        c = data[i]
        if c == 0x0A or (c == 0x0D and (i + 1 >= n or data[i + 1] != 0x0A)):
            starts.append(i + 1)
        i += 1
    return starts


class Elements(html.parser.HTMLParser):
    def __init__(self, offsets):
        super().__init__(convert_charrefs=False)
        self.events = []
        self.offsets = offsets

    def at(self):
        line, col = self.getpos()
        return self.offsets[line - 1] + col

    def handle_starttag(self, tag, attrs):
        if tag not in NOT_COUNTED:
            self.events.append((self.at(), 1))

    def handle_endtag(self, tag):
        if tag not in NOT_COUNTED:
            self.events.append((self.at(), -1))

    def handle_startendtag(self, tag, attrs):
        # A self-closing element is open from its "<" to its "/>".
        if tag not in NOT_COUNTED:
            at = self.at()
            self.events.append((at, 1))
            self.events.append((at + len(self.get_starttag_text()) - 1, -1))


def oracle_depths(data, php_out):
    events = []
    html_bytes = bytearray(b" " * len(data))
    for i, c in enumerate(data):
        if c in (0x0A, 0x0D):
            html_bytes[i] = c
    for item in php_out:
        if len(item) == 3:
            html_bytes[item[0]:item[0] + item[2]] = data[item[0]:item[0] + item[2]]
        else:
            events.append((item[0], item[1]))
    text = html_bytes.decode("latin-1")
    # html.parser counts lines by LF only; give it the offsets of its lines.
    offsets = [0] + [i + 1 for i, ch in enumerate(text) if ch == "\n"]
    parser = Elements(offsets)
    parser.feed(text)
    parser.close()
    events += parser.events
    events.sort()
    starts = line_starts(data)
    depths, depth, k = [], 0, 0
    for s in starts:
        while k < len(events) and events[k][0] < s:
            depth += events[k][1]
            k += 1
        depths.append(depth)
    return depths


def php_files(args):
    for a in args:
        if os.path.isdir(a):
            for root, _, names in os.walk(a):
                for name in sorted(names):
                    if name.endswith(".php"):
                        yield os.path.join(root, name)
        else:
            yield a


def main():
    tool, files, lines, bad_files, bad_lines = sys.argv[1], 0, 0, 0, 0
    for path in php_files(sys.argv[2:]):
        if not os.path.isfile(path):
            continue  # a link to a file of another package
        data = open(path, "rb").read()
        php = subprocess.run(["php", "-d", "short_open_tag=1", "-r", PHP_TOKENS, path], capture_output=True)
        if php.returncode != 0:
            continue
        want = oracle_depths(data, json.loads(php.stdout))
        got = [int(x) for x in subprocess.run([tool, path], capture_output=True, check=True).stdout.split()]
        files += 1
        lines += len(want)
        differing = [i for i in range(max(len(want), len(got)))
                     if i >= len(want) or i >= len(got) or want[i] != got[i]]
        if differing:
            bad_files += 1
            bad_lines += len(differing)
            i = differing[0]
            print(f"{path}: {len(differing)} lines differ, first line {i + 1}: "
                  f"ours {got[i] if i < len(got) else '-'}, oracle {want[i] if i < len(want) else '-'}")
    print(f"files checked {files}, lines checked {lines}, files differing {bad_files}, lines differing {bad_lines}")
    return 1 if bad_lines else 0


if __name__ == "__main__":
    sys.exit(main())
