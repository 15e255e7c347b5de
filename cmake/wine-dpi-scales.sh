#!/usr/bin/env bash
# Runs one test program of the session's prefix at each display scale given (Wine's LogPixels),
# restarting the session's wineserver for each, then puts the prefix's own setting back.
#   wine-dpi-scales.sh STATE_DIR EXE [--EXE-OPTION...] DPI...
set -u
export WINE_STATE_DIR=$1
exe=$2
shift 2
options=()
while [ $# -gt 0 ] && [ "${1#--}" != "$1" ]; do
  options+=("$1")
  shift
done
. "$(dirname "$0")/wine-env.sh"
key='HKCU\Control Panel\Desktop'
previous=$("$WINE64" reg query "$key" /v LogPixels 2>/dev/null | grep -o '0x[0-9a-fA-F]*' | head -n 1)

# Every Wine process (the desktop among them) reads the scale when it starts.
restart_server() {
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1
  "$WINESERVER" -p </dev/null >>"$WINE_STATE_DIR/wineserver.log" 2>&1
}

status=0
for dpi in "$@"; do
  "$WINE64" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  restart_server
  echo "== LogPixels $dpi"
  # Wine's children would hold ctest's pipes: the output goes through a file.
  log="$WINE_STATE_DIR/dpi-$dpi.log"
  "$WINE64" "$exe" "${options[@]}" >"$log" 2>&1 || status=1
  cat "$log"
done
# Without a setting of its own the prefix had Wine's default: 96 DPI, written out, since Wine
# keeps a copy of the scale under its font settings that a deleted value would fall back on.
"$WINE64" reg add "$key" /v LogPixels /t REG_DWORD /d "$((${previous:-96}))" /f >/dev/null 2>&1
restart_server
exit $status
