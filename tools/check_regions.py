#!/usr/bin/env python3
"""Checks the colouring against PHP's own lexer on real PHP projects.

Downloads Debian's dokuwiki, wordpress and cacti packages (apt-get download)
into a temporary folder, extracts them (dpkg-deb -x) and, for every *.php file
in them, checks (1) that the side of every byte (HTML or PHP) in
quillet-styles' runs is the side `php -d short_open_tag=1` token_get_all gives
it (through tools/php_sides.php), and (2) that in the grammar colouring
(quillet-styles --grammar) every byte of a token PHP reads as a comment, a
string, a number or a reserved word is in that slot (through
tools/php_slots.php). Prints the files whose bytes differ, then the files and
bytes checked and differing for each check. Nothing it fetches stays behind.

usage: tools/check_regions.py [--styles build/bin/quillet-styles] [PACKAGE...]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
HTML_SLOTS = {0, 2, 3}  # HTML element, HTML delimiter, HTML attribute value


def php_html_ranges(files):
    """The HTML ranges PHP reads in each file, by path; files PHP could not lex in full."""
    ranges, broken = {}, {}
    for k in range(0, len(files), 200):
        batch = files[k:k + 200]
        out = subprocess.run(["php", "-d", "short_open_tag=1", "-d", "error_reporting=0",
                              os.path.join(HERE, "php_sides.php")] + batch,
                             check=True, capture_output=True).stdout.decode("utf-8", "surrogateescape")
        current = None
        for line in out.split("\n"):
            if line.startswith("= "):
                current = line[2:]
                ranges[current] = []
            elif line.startswith("! "):
                broken[current] = line[2:]
            elif line:
                a, b = line.split()
                ranges[current].append((int(a), int(b)))
    return ranges, broken


def php_slot_ranges(files):
    """(slot, start, end) of every comment, string, number and reserved word token, by path."""
    ranges = {}
    for k in range(0, len(files), 200):
        out = subprocess.run(["php", "-d", "short_open_tag=1", "-d", "error_reporting=0",
                              os.path.join(HERE, "php_slots.php")] + files[k:k + 200],
                             check=True, capture_output=True).stdout.decode("utf-8", "surrogateescape")
        current = None
        for line in out.split("\n"):
            if line.startswith("= "):
                current = line[2:]
                ranges[current] = []
            elif line:
                ranges[current].append(tuple(map(int, line.split())))
    return ranges


def our_slots(styles, path, size, grammar=False):
    slots = bytearray(size)
    out = subprocess.run([styles] + (["--grammar"] if grammar else []) + [path],
                         check=True, capture_output=True).stdout.decode()
    for line in out.splitlines():
        a, b, slot = map(int, line.split())
        slots[a:b] = bytes([slot]) * (b - a)
    return slots


def our_html_bytes(styles, path, size):
    return bytes(1 if s in HTML_SLOTS else 0 for s in our_slots(styles, path, size))


def fetch(packages, work, endings):
    """Downloads and extracts packages into work/root; their files ending so, sorted."""
    subprocess.run(["apt-get", "download"] + packages, cwd=work, check=True, stdout=subprocess.DEVNULL)
    for deb in sorted(f for f in os.listdir(work) if f.endswith(".deb")):
        print("package", deb)
        subprocess.run(["dpkg-deb", "-x", os.path.join(work, deb), os.path.join(work, "root")], check=True)
    files = []
    for dirpath, _, names in os.walk(os.path.join(work, "root")):
        for name in names:
            path = os.path.join(dirpath, name)
            if name.endswith(endings) and os.path.isfile(path) and not os.path.islink(path):
                files.append(path)
    return sorted(files)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--styles", default=os.path.join(HERE, "..", "build", "bin", "quillet-styles"))
    ap.add_argument("packages", nargs="*", default=["dokuwiki", "wordpress", "cacti"])
    args = ap.parse_args()
    work = tempfile.mkdtemp(prefix="check_regions.")
    try:
        files = fetch(args.packages, work, (".php",))
        ranges, broken = php_html_ranges(files)
        root = os.path.join(work, "root")
        checked_bytes = differing_bytes = differing_files = 0
        for path in files:
            size = os.path.getsize(path)
            theirs = bytearray(size)
            for a, b in ranges.get(path, []):
                theirs[a:b] = b"\x01" * (b - a)
            ours = our_html_bytes(args.styles, path, size)
            diff = sum(1 for x, y in zip(ours, theirs) if x != y)
            checked_bytes += size
            if path in broken:
                print("not lexed in full by php:", os.path.relpath(path, root), "-", broken[path].split(" ", 1)[1])
            if diff:
                differing_files += 1
                differing_bytes += diff
                first = next(i for i in range(size) if ours[i] != theirs[i])
                print(f"differs: {os.path.relpath(path, root)}: {diff} bytes, the first at {first}")
        print(f"(1) sides: files checked: {len(files)}, bytes checked: {checked_bytes}")
        print(f"(1) sides: files differing: {differing_files}, bytes differing: {differing_bytes}")

        slot_ranges = php_slot_ranges(files)
        token_bytes = slot_differing = slot_files = 0
        for path in files:
            ours = our_slots(args.styles, path, os.path.getsize(path), grammar=True)
            diff, first = 0, None
            for slot, a, b in slot_ranges.get(path, []):
                token_bytes += b - a
                for i in range(a, b):
                    if ours[i] != slot:
                        diff += 1
                        first = i if first is None else first
            if diff:
                slot_files += 1
                slot_differing += diff
                print(f"slots differ: {os.path.relpath(path, root)}: {diff} bytes, the first at {first}")
        print(f"(2) grammar slots: files checked: {len(files)}, token bytes checked: {token_bytes}")
        print(f"(2) grammar slots: files differing: {slot_files}, bytes differing: {slot_differing}")
        return 1 if differing_bytes or slot_differing else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
