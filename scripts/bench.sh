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
cmake --build "$build" --parallel 2 --target bench_editor bench_colour bench_symbols >/dev/null

# The symbol index's figures read Debian's WordPress and MediaWiki, fetched once
# into the build directory (never into the source tree).
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
# cut at the line end after the first 1 MiB (fetched here, never kept).
(cd "$out" && apt-get download wordpress >/dev/null && dpkg-deb -x wordpress_*.deb root)
find "$out/root" -name '*.php' -type f -print0 | sort -z | xargs -0 cat |
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
python3 "$root/scripts/bench_table.py" "$out/editor.json" "$out/colour.json" "$out/symbols.json"
