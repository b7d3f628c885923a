#!/usr/bin/env python3
"""Compares the declarations quillet-symbols reads with Universal Ctags' over a
folder of PHP files: the sets of (file, kind, name, line) for functions and
methods, classes, interfaces, traits and constants. Prints each difference,
grouped, and exits 1 when there is any not explained by an allowance file.

usage: compare_ctags.py QUILLET_SYMBOLS FOLDER [ALLOWED]
ALLOWED: lines "file<TAB>line<TAB>kind<TAB>name<TAB>side" (side ours|ctags) that
are known and explained; file is relative to FOLDER."""
import os
import subprocess
import sys

KIND = {"function": "function", "method": "function", "class": "class", "interface": "interface",
        "trait": "trait", "classconst": "define", "constant": "define"}


def php_files(folder):
    for root, _, files in os.walk(folder):
        for f in sorted(files):
            path = os.path.join(root, f)
            if f.endswith(".php") and os.path.isfile(path):
                yield path


def run(args, files):
    out = []
    for k in range(0, len(files), 200):
        out.append(subprocess.run(args + files[k:k + 200], capture_output=True, text=True,
                                  errors="replace", check=False).stdout)
    return "".join(out)


def main():
    tool, folder = sys.argv[1], sys.argv[2]
    allowed = set()
    if len(sys.argv) > 3:
        with open(sys.argv[3], encoding="utf-8") as f:
            allowed = {tuple(l.rstrip("\n").split("\t")) for l in f if l.strip() and not l.startswith("#")}
    files = list(php_files(folder))
    ours, theirs = set(), set()
    for line in run([tool], files).splitlines():
        path, num, kind, _scope, name = line.split("\t", 4)
        if kind in KIND:
            ours.add((os.path.relpath(path, folder), num, KIND[kind], name))
    ctags = ["ctags", "-x", "--_xformat=%F\t%n\t%K\t%N", "--kinds-PHP=cdfit", "--languages=PHP",
             "--language-force=PHP"]
    for line in run(ctags, files).splitlines():
        path, num, kind, name = line.split("\t", 3)
        theirs.add((os.path.relpath(path, folder), num, kind, name))
    only_ours = {t + ("ours",) for t in ours - theirs}
    only_ctags = {t + ("ctags",) for t in theirs - ours}
    left = sorted((only_ours | only_ctags) - allowed)
    for t in left:
        print("\t".join(t))
    print(f"# {len(files)} files; ours {len(ours)}, ctags {len(theirs)}, common {len(ours & theirs)}; "
          f"only ours {len(only_ours)}, only ctags {len(only_ctags)}, unexplained {len(left)}",
          file=sys.stderr)
    return 1 if left else 0


if __name__ == "__main__":
    sys.exit(main())
