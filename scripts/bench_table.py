"""Prints the benchmark table of scripts/bench.sh from Google Benchmark JSON files.

Each figure sets one benchmark (ours) against another (its peer). Repetition k
of ours is divided by repetition k of the peer; the table gives the median
times and the median ratio with the least and greatest of those ratios."""
import json
import re
import statistics
import sys

# figure: (ours, peer); a peer of None takes the peer's time from ours' own
# counter of that name (both measured in the same loop).
FIGURES = [
    ("enter-10mb", "Enter/middle/ours_colour", "Enter/middle/bare"),
    ("other-line-10mb", "Type/middle_other_line/ours_colour", "Type/middle_other_line/bare"),
    ("open-colour-10mb", "Open/utf8_lf/ours_colour", "Open/utf8_lf/bare"),
    ("open-gb18030-10mb", "Open/gbk_crlf/ours", "Open/utf8_crlf/ours"),
    ("save-gb18030-10mb", "Save/gbk_crlf/ours", "Save/utf8_crlf/ours"),
    ("key-mid-10mb", "Type/middle_same_line/ours_colour", "Type/middle_same_line/bare"),
    ("colour-pass-1mb", "BM_RealPagesOverLexer/rules:0", "lexer_ms"),
    ("grammar-pass-1mb", "BM_RealPagesOverLexer/rules:1", "lexer_ms"),
    ("index-wordpress", "Symbols/index_wordpress/cold", "Symbols/index_wordpress/ctags"),
    ("index-wp-warm", "Symbols/index_wordpress/warm", "Symbols/index_wordpress/cold"),
    ("goto-definition", "Symbols/goto_definition/ours", "Symbols/goto_definition/bare"),
    ("find-symbol-key", "Symbols/find_symbol_key/ours", "Symbols/find_symbol_key/scan"),
    ("find-files-10k", "Ours", "Grep"),
    ("jump-key-10mb", "JumpKey10mb/ours", "JumpKey10mb/bare"),
    ("key-goto-200mb", "KeyGoto200mb/ours", "KeyGoto200mb/bare"),
    ("open-200mb", "Open200mb/ours", "Open200mb/bare"),
    ("key-top-200mb", "KeyTop200mb/ours", "KeyTop200mb/bare"),
]

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load(paths):
    runs = {}
    for path in paths:
        with open(path) as f:
            for b in json.load(f)["benchmarks"]:
                if b.get("run_type") != "iteration" or b.get("error_occurred"):
                    continue
                name = re.sub(r"/(iterations:\d+|real_time|manual_time)", "", b["run_name"])
                runs.setdefault(name, []).append(b)
    return runs


def ms(b):
    return b["real_time"] * UNIT_MS[b.get("time_unit", "ns")]


def print_rows(path):
    # Figures measured outside Google Benchmark, one a line: name, ours, peer
    # ("-" when there is none) and a note.
    with open(path) as f:
        for line in f:
            name, ours, peer, *note = line.split()
            ratio = f"{float(ours) / float(peer):>7.2f}" if peer != "-" else f"{'-':>7}"
            print(f"{name:<20} {float(ours):>10.2f} {peer:>10} {ratio} {' '.join(note)}")


def main():
    args = sys.argv[1:]
    rows = None
    if "--rows" in args:
        i = args.index("--rows")
        rows = args[i + 1]
        del args[i:i + 2]
    runs = load(args)
    print(f"{'figure':<20} {'ours_ms':>10} {'peer_ms':>10} {'ratio':>7} {'min':>7} {'max':>7} {'runs':>5}")
    for figure, ours_name, peer_name in FIGURES:
        ours = runs.get(ours_name, [])
        if peer_name in runs:
            pairs = [(ms(o), ms(p)) for o, p in zip(ours, runs[peer_name])]
        else:
            # Both sides timed in one loop: ours is the peer's time times the ratio.
            pairs = [(o[peer_name] * o["ratio"], o[peer_name]) for o in ours if peer_name in o and "ratio" in o]
        pairs = [(o, p) for o, p in pairs if p > 0]
        if not pairs:
            print(f"{figure:<20} {'-':>10} {'-':>10} {'-':>7}")
            continue
        ratios = [o / p for o, p in pairs]
        print(f"{figure:<20} {statistics.median(o for o, _ in pairs):>10.2f} "
              f"{statistics.median(p for _, p in pairs):>10.2f} {statistics.median(ratios):>7.2f} "
              f"{min(ratios):>7.2f} {max(ratios):>7.2f} {len(pairs):>5}")
    if rows:
        print_rows(rows)


if __name__ == "__main__":
    main()
