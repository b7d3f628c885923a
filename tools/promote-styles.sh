#!/bin/sh
# Accepts new colouring results: moves every tests/data/colour/*.php.styled.new
# written by the example-file test over its *.php.styled. Review the changes
# (git diff) before committing them.
set -eu
dir="$(cd "$(dirname "$0")/.." && pwd)/tests/data/colour"
found=0
for new in "$dir"/*.php.styled.new; do
  [ -e "$new" ] || continue
  mv -f "$new" "${new%.new}"
  echo "promoted ${new##*/}"
  found=1
done
[ "$found" -eq 1 ] || echo "nothing to promote in $dir"
