#!/usr/bin/env bash
# The plug-in's CPU per update at 4, 16, 64 and 256 cores, for three views written into the
# Vaderur.ini of the run's folder: stacked panes (no view key), Columns=-1 and HeatMap=1.
# zentrix-host.exe feeds the synthetic source every 50 ms, with Vaderur.dll and without a
# plug-in, under Wine. Every case runs twice, a short run and a long one, one after the other
# (side by side, each window's appearing and closing made the other repaint); the
# difference of the two process CPU times the host prints, over the difference of their
# update counts (N), leaves out what a run pays once (loading, creating the window and its
# panes, ending). The plug-in's share is that figure with the plug-in minus without it. What a
# run pays once varies by tens of milliseconds from run to run (and the CPU times come in steps
# of 10 ms), so N is large enough to keep that under a tenth of a millisecond per update.
#   bench/cpu-per-update.sh BUILD_ROOT [--updates N]   (default 400; the script takes about 10 min)
# Uses the Wine session running for BUILD_ROOT/windows, or starts and stops one of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
shift
extra_updates=400
while [ $# -gt 0 ]; do
  case "$1" in
    --updates) extra_updates=$2; shift 2 ;;
    *) echo "cpu-per-update.sh: unknown option '$1'" >&2; exit 2 ;;
  esac
done
short_updates=5
interval=50

source "$root/bench/lib/host-runs.bash"
bench_host_runs cpu-per-update.sh "$build"

work=$build/bench-runs/cpu-per-update
rm -rf "$work"
mkdir -p "$work"

cpu_ms() { sed -n 's/^Process CPU time: \([0-9]*\) ms.*/\1/p' "$1" | tail -1; }

# host_run FOLDER UPDATES CORES [HOST OPTIONS...]: one run of the host in FOLDER, its output
# in FOLDER.log.
host_run() {
  local folder=$1 updates=$2 cores=$3
  shift 3
  (cd "$folder" && "$build/windows/wine-run.sh" ./zentrix-host.exe --source synthetic --cores "$cores" \
     --interval "$interval" --updates "$updates" "$@" >"$folder.log" 2>&1)
}

# cpu_per_update NAME CORES EXTRA SETTINGS_LINE [HOST OPTIONS...]: prints the CPU per update in
# ms of the host, from a short run and one of EXTRA updates more, each in a folder
# of its own whose Vaderur.ini holds the settings line.
cpu_per_update() {
  local name=$1 cores=$2 extra=$3 line=$4
  shift 4
  local short=$work/$name-$cores-short long=$work/$name-$cores-long
  for folder in "$short" "$long"; do
    mkdir -p "$folder"
    cp "$bin/zentrix-host.exe" "$bin/Vaderur.dll" "$folder/"
    printf '[Zentrix Vaderur]\r\n%s\r\n' "$line" >"$folder/Vaderur.ini"
  done
  host_run "$short" "$short_updates" "$cores" "$@" || { cat "$short.log" >&2; return 1; }
  host_run "$long" $((short_updates + extra)) "$cores" "$@" || { cat "$long.log" >&2; return 1; }
  local a b
  a=$(cpu_ms "$short.log")
  b=$(cpu_ms "$long.log")
  [ -n "$a" ] && [ -n "$b" ] || { echo "cpu-per-update.sh: no CPU time in $short.log or $long.log" >&2; return 1; }
  awk -v a="$a" -v b="$b" -v n="$extra" 'BEGIN { printf "%.2f", (b - a) / n }'
}

views=("stacked|; stacked, no view key" "Columns=-1|Columns=-1" "HeatMap=1|HeatMap=1")
echo "cpu-per-update: $((4 * ${#views[@]} + 4)) cases, each a run of $short_updates updates every $interval ms and a longer one" >&2
for cores in 4 16 64 256; do
  extra=$extra_updates
  alone=$(cpu_per_update none "$cores" "$extra" "; no plug-in" --no-plugin)
  stacked=""
  for view in "${views[@]}"; do
    name=${view%%|*}
    line=${view#*|}
    with=$(cpu_per_update "${name//[^A-Za-z0-9]/_}" "$cores" "$extra" "$line")
    share=$(awk -v a="$with" -v b="$alone" 'BEGIN { printf "%.2f", a - b }')
    [ "$name" = stacked ] && stacked=$share
    target=""
    if [ "$name" = HeatMap=1 ] && [ "$cores" = 256 ]; then
      target="; target <= 2 ms"
    elif [ "$name" = Columns=-1 ] && [ "$cores" = 64 ]; then
      target="; target <= 8 ms (stacked $stacked ms)"
    elif [ "$name" = Columns=-1 ] && [ "$cores" = 256 ]; then
      target="; target <= 30 ms (stacked $stacked ms)"
    fi
    echo "BENCH|CPU per update, $name, $cores cores|$share|ms|host CPU with the plug-in $with ms minus alone $alone ms per update, $extra updates every $interval ms under Wine$target"
  done
done
