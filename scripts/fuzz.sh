#!/usr/bin/env bash
# Usage: fuzz.sh [SECONDS] [TARGET...]
# Builds the libFuzzer targets with clang (ASan and UBSan) in build-fuzz/ (or
# $QUILLET_FUZZ_DIR) and runs each named target (all by default) for SECONDS
# (default 60), one after the other, on a corpus seeded from tests/data/ and
# fuzz/regressions/. Fails when a target crashes, a sanitizer reports, or an
# input times out or runs out of memory, and prints the path of the input that
# did it (kept in build-fuzz/findings/). Each run's log is in build-fuzz/logs/.
# Needs clang and libclang-rt-14-dev (deps.sh installs them with "fuzz").
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_colour fuzz_encoding fuzz_text_parsers fuzz_des)
build="${QUILLET_FUZZ_DIR:-$root/build-fuzz}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # -O1 with line tables only: the usual fuzzing build, quicker to compile
  # than full debug information and still naming source lines in reports.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O1 -gline-tables-only" "${launcher[@]}" \
    -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_FUZZ=ON -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_BENCH=OFF || exit 1
fi
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}" || exit 1

mkdir -p "$build/findings" "$build/logs"
status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  # The example pages, every other small test file and the inputs of past
  # findings seed each corpus.
  find "$root/tests/data" "$root/fuzz/regressions" -type f -size -64k -exec cp -n {} "$corpus/" \; 2>/dev/null
  log="$build/logs/$t.log"
  echo "== $t (${seconds}s)"
  QT_QPA_PLATFORM=offscreen "$build/bin/$t" -max_total_time="$seconds" -max_len=65536 -timeout=30 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$t-" "$corpus" >"$log" 2>&1
  rc=$?
  if [ $rc -ne 0 ] || grep -q -E "ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:" "$log"; then
    status=1
    echo "FAILED: $t (exit $rc); log: $log"
    grep -E "ERROR:|runtime error:|SUMMARY:" "$log" | head -n 5
    found=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log")
    echo "finding: ${found:-none written; see the log}"
  else
    grep -E "^#[0-9]+.*DONE|^stat::number_of_executed_units|^stat::average_exec_per_sec" "$log" | tr '\n' ' '
    echo
  fi
done
exit $status
