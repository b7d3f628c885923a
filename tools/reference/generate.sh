#!/usr/bin/env bash
# Regenerates the reference tables in dbsrc/reference/ (run by hand; the
# build only reads the committed files). See README.md for what it needs.
#   tools/reference/generate.sh <php-8.2 source tree> [--renumber]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=${1:?usage: generate.sh <php-8.2 source tree> [--renumber]}
shift
out="$here/../../dbsrc/reference"
cd "$here"
[ -d node_modules ] || npm ci --no-audit --no-fund
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
php php/generate.php "$src" > "$tmp"
node emit.mjs "$tmp" "$out/php.tsv" "$@"
node css.mjs "$@"
node html.mjs "$@"
node javascript.mjs "$@"
