#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the portable code natively under
# AddressSanitizer and UBSan, then the plug-in, its windows and the host under Wine + Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VADERUR_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" all

status=0
echo "== Native tests (portable code, sanitized)"
(cd "$build/native" && ctest --output-on-failure -j2) || status=1
echo "== Windows tests (under Wine)"
rm -f "$build/windows/wine/hung-programs.log"
(cd "$build/windows" && ctest --output-on-failure -j2) || status=1
# A program stopped for hanging: its threads' stacks, last, where a short look at the end finds them.
if [ -s "$build/windows/wine/hung-programs.log" ]; then
  echo "== Stacks of the Windows tests that hung"
  head -c 6000 "$build/windows/wine/hung-programs.log"
fi
exit $status
