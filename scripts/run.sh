#!/usr/bin/env bash
# Builds Quillet and starts it with its shipped databases; arguments go to the editor.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/deps.sh"
quillet_install_deps
quillet_build
build="${QUILLET_BUILD_DIR:-$here/../build}"
exec "$build/bin/quillet" "$@"
