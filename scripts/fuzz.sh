#!/usr/bin/env bash
# Usage: fuzz.sh [SECONDS] [TARGET...]
#        fuzz.sh --replay [TARGET...]
# Builds the libFuzzer targets with clang (ASan and UBSan) in build-fuzz/ (or
# $QUILLET_FUZZ_DIR).
#
# With SECONDS (default 60) it fuzzes each named target (all by default) for
# that long, one after the other, with a random seed on a corpus seeded from
# tests/data/ and fuzz/regressions/ that grows from run to run. This is the
# search for new faults, run by hand.
#
# With --replay it runs what gives the same answer on every run of the same
# code (scripts/test.sh uses it): every seed input and every input that ever
# failed (fuzz/regressions/) once, then QUILLET_FUZZ_RUNS (default 2000)
# mutations from a fresh copy of those seeds with the fixed seed
# QUILLET_FUZZ_SEED (default 1).
#
# Fails when a target crashes, a sanitizer reports, or an input times out or
# runs out of memory, and prints the path of the input that did it (kept in
# build-fuzz/findings/). Each run's log is in build-fuzz/logs/. An input that
# found a fault goes into fuzz/regressions/, named after what it caught, in
# the commit that fixes the fault.
# Needs clang and libclang-rt-14-dev (deps.sh installs them with "fuzz").
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
replay=0
if [ "${1:-}" = --replay ]; then
  replay=1
  shift
else
  seconds="${1:-60}"
  shift $(( $# > 0 ? 1 : 0 ))
fi
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

# The example pages, every other small test file and the inputs of past
# findings: the seeds of every target.
mapfile -t seeds < <(find "$root/tests/data" "$root/fuzz/regressions" -type f -size -64k | sort)

mkdir -p "$build/findings" "$build/logs"
status=0
# Runs target $1 with the remaining arguments, its log in logs/$1$suffix.log,
# and says what it found.
run_target() {
  local t=$1 log="$build/logs/$1$suffix.log"
  shift
  QT_QPA_PLATFORM=offscreen "$build/bin/$t" -max_len=65536 -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$t-" "$@" >"$log" 2>&1
  local rc=$?
  if [ $rc -ne 0 ] || grep -q -E "ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:" "$log"; then
    status=1
    echo "FAILED: $t (exit $rc); log: $log"
    grep -E "ERROR:|runtime error:|SUMMARY:" "$log" | head -n 5
    local found
    found=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log")
    [ -z "$found" ] && found=$(sed -n 's/^Running: \(.*\)$/\1/p' "$log" | tail -n 1)
    echo "finding: ${found:-none written; see the log}"
  else
    grep -E "^#[0-9]+.*DONE|^stat::number_of_executed_units|^stat::average_exec_per_sec" "$log" | tr '\n' ' '
    echo
  fi
}

for t in "${targets[@]}"; do
  if [ $replay = 1 ]; then
    runs="${QUILLET_FUZZ_RUNS:-2000}" seed="${QUILLET_FUZZ_SEED:-1}"
    echo "== $t (replay of ${#seeds[@]} inputs)"
    suffix=-replay run_target "$t" "${seeds[@]}"
    # A fresh corpus each time, so the same seed walks the same mutations.
    corpus="$build/replay-corpus/$t"
    rm -rf "$corpus" && mkdir -p "$corpus" && cp "${seeds[@]}" "$corpus/"
    echo "== $t ($runs runs, seed $seed)"
    suffix=-runs run_target "$t" -runs="$runs" -seed="$seed" "$corpus"
  else
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    cp -n "${seeds[@]}" "$corpus/" 2>/dev/null
    echo "== $t (${seconds}s)"
    suffix="" run_target "$t" -max_total_time="$seconds" "$corpus"
  fi
done
exit $status
