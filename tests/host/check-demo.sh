#!/usr/bin/env bash
# Runs the main job, scripts/demo.sh, in a short mode inside the tests' Wine session, from
# this build folder as it is and into an output folder of its own, then checks that every
# pane's PNG and the screenshot exist and are whole PNG images.
#   check-demo.sh SOURCE_DIR WINDOWS_BUILD_DIR WORK_DIR
set -euo pipefail
source_dir=$1 build=$2 work=$3
out=$work/demo
rm -rf "$out"

bash "$source_dir/scripts/demo.sh" --build-dir "$build" --wine-state "$build/wine" --out "$out" \
     --updates 6 --interval 100

# A whole PNG: the signature, an IHDR chunk with a non-zero size, and the IEND chunk last.
check_png() {
  local file=$1 head tail width height
  [ -s "$file" ] || { echo "missing or empty: $file"; return 1; }
  head=$(od -An -tx1 -N24 "$file" | tr -d ' \n')
  tail=$(tail -c 12 "$file" | od -An -tx1 | tr -d ' \n')
  [ "${head:0:16}" = 89504e470d0a1a0a ] || { echo "not a PNG: $file"; return 1; }
  [ "${head:24:8}" = 49484452 ] || { echo "no IHDR chunk first: $file"; return 1; }
  width=$((16#${head:32:8})); height=$((16#${head:40:8}))
  [ "$width" -gt 0 ] && [ "$height" -gt 0 ] || { echo "empty picture: $file"; return 1; }
  [ "$tail" = 0000000049454e44ae426082 ] || { echo "cut short (no IEND at the end): $file"; return 1; }
  echo "valid PNG, $width x $height: $file"
}

status=0
shopt -s nullglob
pngs=("$out"/Core\ #*.png)
[ ${#pngs[@]} -gt 0 ] || { echo "the demo wrote no pane PNG"; status=1; }
for f in "${pngs[@]}" "$out/screenshot.png"; do
  check_png "$f" || status=1
done
exit $status
