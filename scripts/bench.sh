#!/usr/bin/env bash
# Builds the benchmarks in an optimised build of their own (build-release/)
# and prints one table: each figure's median time for ours and for its peer
# over the repetitions, and the median ratio with the least and greatest.
# Usage: bash scripts/bench.sh [repetitions, at least 5]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# QUILLET_BENCH_BUILD names another optimised build directory to use instead.
build="${QUILLET_BENCH_BUILD:-$root/build-release}"
reps="${1:-5}"
(( reps < 5 )) && reps=5

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# The program's shipped databases too: the start measured below is a real one,
# reference pages filled.
cmake --build "$build" --parallel 2 --target bench_editor bench_colour bench_symbols bench_search bench_frame quillet \
    quillet_reference_db quillet_code_libraries >/dev/null

# Real PHP: Debian's WordPress and MediaWiki, fetched once into the build
# directory (never into the source tree), for the colouring, symbol, search and
# main-window figures.
sites="$build/bench-sites"
for pkg in wordpress mediawiki; do
    if [[ ! -d "$sites/$pkg" ]]; then
        mkdir -p "$sites/deb"
        (cd "$sites/deb" && apt-get download "$pkg" >/dev/null 2>&1) || { echo "cannot fetch $pkg" >&2; exit 1; }
        rm -rf "$sites/unpacked"
        dpkg-deb -x "$sites"/deb/"$pkg"_*.deb "$sites/unpacked"
        mv "$sites/unpacked/usr/share/$pkg" "$sites/$pkg"
        rm -rf "$sites/unpacked" "$sites/deb"
    fi
done

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
# 1 MB of real PHP pages: Debian's wordpress, its *.php files in name order,
# cut at the line end after the first 1 MiB.
find "$sites/wordpress" -name '*.php' -type f -print0 | sort -z | xargs -0 cat |
    python3 -c 'import sys; d = sys.stdin.buffer.read(); sys.stdout.buffer.write(d[:d.index(b"\n", 1 << 20) + 1])' \
    > "$out/pages.php"
export QUILLET_BENCH_PHP_PAGES="$out/pages.php"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
common=(--benchmark_repetitions="$reps" --benchmark_enable_random_interleaving=true --benchmark_format=json)
"$build/bin/bench_editor" "${common[@]}" --benchmark_out="$out/editor.json" --benchmark_out_format=json \
    --benchmark_filter='^(Enter/middle/|Type/middle_(same|other)_line/(ours_colour|bare)|Open/(utf8_lf/(ours_colour|bare)|(gbk_crlf|utf8_crlf)/ours/)|Save/(gbk_crlf|utf8_crlf)/ours/)' \
    >/dev/null 2>"$out/editor.err" || { cat "$out/editor.err" >&2; exit 1; }
"$build/bin/bench_colour" "${common[@]}" --benchmark_out="$out/colour.json" --benchmark_out_format=json \
    --benchmark_filter='^BM_RealPagesOverLexer/rules:[01]$' \
    >/dev/null 2>"$out/colour.err" || { cat "$out/colour.err" >&2; exit 1; }
QUILLET_BENCH_SITES="$sites" "$build/bin/bench_symbols" "${common[@]}" --benchmark_out="$out/symbols.json" \
    --benchmark_out_format=json >/dev/null 2>"$out/symbols.err" || { cat "$out/symbols.err" >&2; exit 1; }
# The 10,000-file tree for 在文件中查找 against grep: wordpress's PHP, HTML,
# CSS and JavaScript files copied round after round (in the build directory).
if [[ ! -d "$sites/tree10k" ]]; then
    python3 - "$sites/wordpress" "$sites/tree10k" <<'PY'
import os, shutil, sys
src, dst = sys.argv[1], sys.argv[2]
files = sorted(os.path.join(d, f) for d, _, fs in os.walk(src) for f in fs
               if f.rsplit(".", 1)[-1] in ("php", "html", "htm", "js", "css", "inc") and not os.path.islink(os.path.join(d, f)))
n = 0
while n < 10000:
    for f in files[: 10000 - n]:
        target = os.path.join(dst, f"r{n // len(files)}", os.path.relpath(f, src))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(f, target)
    n += min(len(files), 10000 - n)
PY
fi
QUILLET_FIND_TREE="$sites/tree10k" QUILLET_FIND_TEXT="${QUILLET_FIND_TEXT:-esc_html}" \
    "$build/bin/bench_search" "${common[@]}" --benchmark_out="$out/search.json" --benchmark_out_format=json \
    >/dev/null 2>"$out/search.err" || { cat "$out/search.err" >&2; exit 1; }

# Keys and opens through the real main window, on pages of wordpress's PHP
# joined to 10 MB and 200 MB, against a bare QsciScintilla.
QUILLET_BENCH_PAGES="$sites/wordpress" \
    "$build/bin/bench_frame" "${common[@]}" --benchmark_out="$out/frame.json" --benchmark_out_format=json \
    >/dev/null 2>"$out/frame.err" || { cat "$out/frame.err" >&2; exit 1; }

# Peak resident memory of a start with no file named (the new document, the
# splash and the deferred load included), read from /proc before the program
# is ended; Geany's the same way when it is installed.
peak_rss_mb() {
    local home; home="$(mktemp -d)"
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_STATE_HOME="$home/state" \
        XDG_CACHE_HOME="$home/cache" "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 6
    local kb; kb="$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)"
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    rm -rf "$home"
    awk -v kb="${kb:-0}" 'BEGIN {printf "%.1f", kb / 1024}'
}
ours_rss="$(peak_rss_mb "$build/bin/quillet")"
if command -v geany >/dev/null; then
    echo "start-rss-mb $ours_rss $(peak_rss_mb geany) geany" >"$out/rows.txt"
else
    echo "start-rss-mb $ours_rss - geany-not-installed" >"$out/rows.txt"
fi
python3 "$root/scripts/bench_table.py" "$out/editor.json" "$out/colour.json" "$out/symbols.json" "$out/search.json" \
    "$out/frame.json" --rows "$out/rows.txt"
