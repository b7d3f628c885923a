#!/usr/bin/env bash
# Builds Quillet and its tests, then runs them all on the offscreen platform;
# arguments go to ctest. Then builds the libFuzzer targets in build-fuzz/ and
# replays their seed inputs and past findings, plus a bounded run with a fixed
# seed (fuzz.sh --replay; QUILLET_FUZZ=0 skips it), so the outcome depends on
# the code alone. Fails when a test fails or a fuzz target finds anything.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/deps.sh"
quillet_install_deps || exit 1
quillet_build || exit 1
build="${QUILLET_BUILD_DIR:-$here/../build}"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 "$@")
status=$?
if [ "${QUILLET_FUZZ:-1}" != 0 ]; then
  if quillet_install_deps QUILLET_FUZZ_PACKAGES; then
    bash "$here/fuzz.sh" --replay || status=1
  else
    status=1
  fi
fi
exit $status
