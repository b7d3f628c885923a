#!/usr/bin/env bash
# Builds Quillet and its tests, then runs them all on the offscreen platform.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/deps.sh"
quillet_install_deps || exit 1
quillet_build || exit 1
build="${QUILLET_BUILD_DIR:-$here/../build}"
cd "$build" || exit 1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 "$@"
