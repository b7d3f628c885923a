#!/usr/bin/env python3
"""Checks the grammar colouring of JavaScript and CSS against npm tokenizers.

Installs acorn and css-tree (npm, into a temporary folder), downloads Debian's
dokuwiki, wordpress and cacti packages as tools/check_regions.py does, and
puts each *.js file into a <script> element and each *.css file into a
<style> element of a page of its own. In quillet-styles --grammar's runs of
that page, every byte of a comment, string, template literal piece, regular
expression, number (with its unit) or keyword (at-keyword in CSS) that the
tokenizer finds (through tools/script_style_tokens.js) must be in that slot.
Files holding "<?" or their element's end tag are left out, as the page would
not hold them whole. Prints the files whose bytes differ, then the files and
bytes checked and differing. Nothing it fetches stays behind.

usage: tools/check_script_style.py [--styles build/bin/quillet-styles] [PACKAGE...]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

from check_regions import HERE, fetch, our_slots


def tokens(files, node_path):
    """(slot, start, end) by path; files the tokenizer rejected."""
    ranges, broken = {}, set()
    for k in range(0, len(files), 200):
        out = subprocess.run(["node", os.path.join(HERE, "script_style_tokens.js")] + files[k:k + 200],
                             check=True, capture_output=True, env=dict(os.environ, NODE_PATH=node_path)).stdout
        current = None
        for line in out.decode().split("\n"):
            if line.startswith("= "):
                current = line[2:]
                ranges[current] = []
            elif line.startswith("! "):
                broken.add(current)
            elif line:
                ranges[current].append(tuple(map(int, line.split())))
    return ranges, broken


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--styles", default=os.path.join(HERE, "..", "build", "bin", "quillet-styles"))
    ap.add_argument("packages", nargs="*", default=["dokuwiki", "wordpress", "cacti"])
    args = ap.parse_args()
    work = tempfile.mkdtemp(prefix="check_script_style.")
    try:
        subprocess.run(["npm", "install", "--prefix", os.path.join(work, "npm"), "--no-audit", "--no-fund",
                        "acorn@8", "css-tree@2"], check=True, stdout=subprocess.DEVNULL)
        files = fetch(args.packages, work, (".js", ".css"))
        ranges, broken = tokens(files, os.path.join(work, "npm", "node_modules"))
        root = os.path.join(work, "root")
        page = os.path.join(work, "page.php")
        checked_files = checked_bytes = differing_bytes = differing_files = 0
        for path in files:
            with open(path, "rb") as f:
                body = f.read()
            tag = b"script" if path.endswith(".js") else b"style"
            if path in broken or b"<?" in body or b"</" + tag in body.lower():
                continue
            head = b"<" + tag + b">\n"
            with open(page, "wb") as f:
                f.write(head + body + b"\n</" + tag + b">\n")
            ours = our_slots(args.styles, page, len(head) + len(body) + len(tag) + 5, grammar=True)
            diff, first = 0, None
            for slot, a, b in ranges.get(path, []):
                checked_bytes += b - a
                for i in range(a, b):
                    if ours[len(head) + i] != slot:
                        diff += 1
                        first = i if first is None else first
            checked_files += 1
            if diff:
                differing_files += 1
                differing_bytes += diff
                print(f"differs: {os.path.relpath(path, root)}: {diff} bytes, the first at {first}")
        print(f"files: {len(files)}, rejected by the tokenizer: {len(broken)}, checked: {checked_files}, "
              f"token bytes checked: {checked_bytes}")
        print(f"files differing: {differing_files}, bytes differing: {differing_bytes}")
        return 1 if differing_bytes else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
