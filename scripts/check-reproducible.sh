#!/usr/bin/env bash
# Builds the release package twice, from two clean clones of the current commit in two
# different folders, and compares the plug-in, the host, every file in the ZIP, the debug files
# and the ZIP itself byte for byte. Prints the SHA-256 of each; exits 1 on any difference.
#   scripts/check-reproducible.sh [WORK_DIR]
# WORK_DIR (kept afterwards) defaults to a temporary folder that is removed at the end.
# Each clone is configured as scripts/build.sh configures build/windows (a Release build with
# the MinGW toolchain), without the tests, which never reach the package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "note: uncommitted changes are not part of the check; it builds commit $commit"
fi

if [ $# -ge 1 ]; then
  work=$1
  mkdir -p "$work"
  work=$(cd "$work" && pwd)
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/vaderur-repro.XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
jobs=$(nproc)

# Two layouts that share nothing: a build folder inside the clone (as scripts/build.sh makes
# it) and one outside a clone that sits deeper, under other names.
source_a=$work/first/vaderur          build_a=$work/first/vaderur/build/windows
source_b=$work/second/elsewhere/clone  build_b=$work/second/out

build_release() {
  local source=$1 build=$2 log=$work/$3.log
  rm -rf "$source" "$build"
  git clone -q --no-checkout "$root" "$source"
  git -C "$source" checkout -q --detach "$commit"
  echo "building $commit in $source (log: $log)"
  {
    cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVADERUR_TESTS=OFF \
          -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" &&
    cmake --build "$build" -j"$jobs" &&
    (cd "$build" && cpack -G ZIP)
  } >"$log" 2>&1 || { tail -n 30 "$log"; exit 1; }
  rm -rf "$build/unpacked"
  mkdir -p "$build/unpacked"
  (cd "$build/unpacked" && cmake -E tar xf "$build"/package/Vaderur-*-win64.zip)
}
build_release "$source_a" "$build_a" first
build_release "$source_b" "$build_b" second

# Every file in either ZIP, then the debug files and the ZIP itself, side by side.
status=0
compare() {
  local name=$1 a=$2 b=$3 hash_a hash_b
  if [ ! -f "$a" ] || [ ! -f "$b" ]; then
    echo "MISSING from one build: $name"; status=1; return
  fi
  hash_a=$(sha256sum <"$a" | cut -d' ' -f1)
  hash_b=$(sha256sum <"$b" | cut -d' ' -f1)
  if [ "$hash_a" = "$hash_b" ] && cmp -s "$a" "$b"; then
    printf '%s  %s\n' "$hash_a" "$name"
  else
    printf '%s  %s\n%s  %s   DIFFERENT\n' "$hash_a" "$name" "$hash_b" "$name"; status=1
  fi
}
echo
echo "SHA-256 of commit $commit (same in both builds unless marked DIFFERENT):"
# The files under DIR, relative to it.
files_in() { (cd "$1" && find . -type f | sed 's|^\./||'); }
while read -r name; do
  compare "$name" "$build_a/unpacked/$name" "$build_b/unpacked/$name"
done < <({ files_in "$build_a/unpacked"; files_in "$build_b/unpacked"; } | LC_ALL=C sort -u)
# Beside the ZIP: the debug files; then the ZIP itself.
while read -r name; do
  compare "$name" "$build_a/package/$name" "$build_b/package/$name"
done < <({ files_in "$build_a/package"; files_in "$build_b/package"; } |
         grep -E '^[^/]+\.(debug|zip)$' | LC_ALL=C sort -u)

if [ $status -eq 0 ]; then
  echo "reproducible: both builds are identical"
else
  echo "NOT reproducible: the builds differ (kept under $work when WORK_DIR is given)"
fi
exit $status
