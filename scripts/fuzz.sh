#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan) in build-fuzz/ and
# runs each for SECONDS (default 60) on a corpus seeded from tests/data/.
# Findings are written to build-fuzz/findings/. Needs clang and libclang-rt-14-dev.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
build="$root/build-fuzz"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_FUZZ=ON -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_BENCH=OFF || exit 1
fi
targets=(fuzz_colour fuzz_encoding fuzz_text_parsers fuzz_des)
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}" || exit 1
mkdir -p "$build/findings"
status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  # The example pages and every other small test file seed each corpus.
  find "$root/tests/data" -type f -size -64k -exec cp -n {} "$corpus/" \; 2>/dev/null
  echo "== $t (${seconds}s)"
  QT_QPA_PLATFORM=offscreen "$build/bin/$t" -max_total_time="$seconds" -max_len=65536 \
    -artifact_prefix="$build/findings/$t-" "$corpus" 2>&1 | tail -n 3 || status=1
done
exit $status
