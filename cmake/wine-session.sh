#!/usr/bin/env bash
# Starts or stops what the Windows tests run on: one Xvfb (1680x1050x24) and one
# persistent wineserver over a prefix of this build folder.
#   wine-session.sh start STATE_DIR     wine-session.sh stop STATE_DIR
set -u
action=$1
export WINE_STATE_DIR=$2
mkdir -p "$WINE_STATE_DIR"
. "$(dirname "$0")/wine-env.sh"

stop_session() {
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1
  if [ -f "$WINE_STATE_DIR/xvfb.pid" ]; then
    kill "$(cat "$WINE_STATE_DIR/xvfb.pid")" 2>/dev/null
    rm -f "$WINE_STATE_DIR/xvfb.pid" "$WINE_STATE_DIR/display"
  fi
}

start_xvfb() {
  rm -f "$WINE_STATE_DIR/display" "$WINE_STATE_DIR/xvfb.pid"
  local fifo="$WINE_STATE_DIR/displayfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1680x1050x24 -nolisten tcp 3>"$fifo" >"$WINE_STATE_DIR/xvfb.log" 2>&1 &
  echo $! > "$WINE_STATE_DIR/xvfb.pid"
  local num
  read -r -t 20 num < "$fifo" || { echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  echo "$num" > "$WINE_STATE_DIR/display"
  export DISPLAY=":$num"
}

case "$action" in
start)
  # A session already running here ends first: its Xvfb would be left behind, and its
  # wineserver would keep a desktop bound to that display.
  stop_session
  if [ -z "${VADERUR_USE_DISPLAY:-}" ]; then
    unset DISPLAY
    start_xvfb || exit 1
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE64" wineboot -i >"$WINE_STATE_DIR/wineboot.log" 2>&1
    "$WINESERVER" -w
  fi
  # One persistent server for the whole session, started before anything else uses the
  # prefix. It keeps its caller's stderr open: give it a file so ctest is not held.
  "$WINESERVER" -p </dev/null >"$WINE_STATE_DIR/wineserver.log" 2>&1
  # No window manager: without Managed=N every hide/minimize/destroy costs two seconds.
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # A crashing test exits at once with a backtrace instead of waiting in a dialog.
  "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  exit 0
  ;;
stop)
  stop_session
  exit 0
  ;;
*)
  echo "usage: wine-session.sh start|stop STATE_DIR" >&2; exit 2 ;;
esac
