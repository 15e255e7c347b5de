#!/usr/bin/env bash
# The main job: installs and builds what is missing, then runs the reference host with the
# plug-in on this machine's own CPU readings for a short, visible run, has the plug-in export
# every pane as a PNG, saves a screenshot of its window, and says where both are.
#
#   scripts/demo.sh [--updates N] [--interval MS] [--out DIR] [--build-dir DIR] [--wine-state DIR]
#     --updates N       snapshots to hand the plug-in (default 30)
#     --interval MS     poll period in milliseconds (default 200)
#     --out DIR         where the host, the plug-in, the PNGs and the screenshot go
#                       (default build/demo)
#     --build-dir DIR   take zentrix-host.exe and Vaderur.dll from this Windows build folder
#                       as it is: nothing is installed or built
#     --wine-state DIR  run inside the Wine session already running in DIR (as the tests'
#                       session is); without it the demo starts a session of its own and
#                       stops it at the end
#
# Without a display the run happens inside an Xvfb of its own. With one (DISPLAY set) the
# plug-in's window is shown live on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VADERUR_BUILD_DIR:-$root/build}

updates=30
interval=200
out=$build_root/demo
windows_build=""
shared_state=""
while [ $# -gt 0 ]; do
  case "$1" in
    --updates) updates=$2; shift 2 ;;
    --interval) interval=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --build-dir) windows_build=$2; shift 2 ;;
    --wine-state) shared_state=$2; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo.sh: unknown option '$1' (demo.sh --help lists them)" >&2; exit 2 ;;
  esac
done

if [ -z "$windows_build" ]; then
  echo "== Installing what is missing and building the plug-in and the host for Windows"
  bash "$root/scripts/install-deps.sh"
  bash "$root/scripts/build.sh" windows
  windows_build=$build_root/windows
fi
for f in zentrix-host.exe Vaderur.dll; do
  if [ ! -f "$windows_build/bin/$f" ]; then
    echo "demo.sh: $windows_build/bin/$f is missing; build the Windows tree first" >&2
    exit 1
  fi
done

# The PNGs land beside the host executable, so the host and the plug-in run from the output
# folder. Its Vaderur.ini is kept between runs, so edits to it show in the next demo.
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/Core\ #*.png "$out/screenshot.png" "$out/host-output.txt"
cp "$windows_build/bin/zentrix-host.exe" "$windows_build/bin/Vaderur.dll" "$out/"

if [ -n "$shared_state" ]; then
  state=$shared_state
  started_session=no
else
  state=$build_root/demo-wine
  if [ -n "${DISPLAY:-}" ]; then
    export VADERUR_USE_DISPLAY=1
    echo "== Showing the plug-in live on display $DISPLAY"
  else
    echo "== Starting a virtual display (Xvfb) and Wine; the first start prepares a Wine prefix"
  fi
  bash "$root/cmake/wine-session.sh" start "$state"
  started_session=yes
fi
stop_session() {
  if [ "$started_session" = yes ]; then
    bash "$root/cmake/wine-session.sh" stop "$state"
  fi
}
trap stop_session EXIT

export WINE_STATE_DIR=$state
. "$root/cmake/wine-env.sh"
if [ -f "$state/display" ]; then
  export DISPLAY=":$(cat "$state/display")"
fi

echo "== Running zentrix-host.exe: $updates updates of this machine's CPU readings, one every $interval ms"
status=0
(cd "$out" && "$WINE64" ./zentrix-host.exe --source system --updates "$updates" --interval "$interval" \
   --export --screenshot screenshot.png >"$out/host-output.txt" 2>&1 </dev/null) || status=$?
sed 's/^/   /' "$out/host-output.txt"

pngs=("$out"/Core\ #*.png)
echo
if [ "$status" -eq 0 ] && [ -e "${pngs[0]}" ]; then
  echo "Demo done: the plug-in drew ${#pngs[@]} panes, one per logical processor of this machine."
  echo "  PNGs of every pane: $out/Core #0.png ... Core #$(( ${#pngs[@]} - 1 )).png"
  echo "  Screenshot:         $out/screenshot.png"
  echo "  Settings file:      $out/Vaderur.ini (edit it and run the demo again)"
else
  echo "Demo failed (zentrix-host exit code $status); its output is above and in $out/host-output.txt" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit $status
