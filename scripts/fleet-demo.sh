#!/usr/bin/env bash
# The metrics file's whole chain on this machine, to watch: the reference host drives the
# plug-in under Wine with MetricsFile in a folder, prometheus-node-exporter's textfile
# collector serves that folder, and Prometheus scrapes it every second (both on 127.0.0.1,
# free ports). Prints the Prometheus query URLs and their answers while the host runs.
#
#   scripts/fleet-demo.sh [--updates N] [--interval MS] [--cores N] [--out DIR] [--build-dir DIR]
#     --updates N      snapshots to hand the plug-in (default 30)
#     --interval MS    poll period in milliseconds (default 1000)
#     --cores N        cores of the synthetic CPU (default 8)
#     --out DIR        where the host, the plug-in, the metrics folder and Prometheus' data go
#                      (default build/fleet-demo)
#     --build-dir DIR  take zentrix-host.exe and Vaderur.dll from this Windows build folder as
#                      it is: nothing is installed or built
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VADERUR_BUILD_DIR:-$root/build}
updates=30 interval=1000 cores=8 out=$build_root/fleet-demo windows_build=""
while [ $# -gt 0 ]; do
  case "$1" in
    --updates) updates=$2; shift 2 ;;
    --interval) interval=$2; shift 2 ;;
    --cores) cores=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --build-dir) windows_build=$2; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "fleet-demo.sh: unknown option '$1' (fleet-demo.sh --help lists them)" >&2; exit 2 ;;
  esac
done
if [ -z "$windows_build" ]; then
  echo "== Installing what is missing and building the plug-in and the host for Windows"
  bash "$root/scripts/install-deps.sh"
  bash "$root/scripts/build.sh" windows
  windows_build=$build_root/windows
fi
. "$root/scripts/prometheus-pipeline.sh"

rm -rf "$out"
mkdir -p "$out/app/textfile" "$out/pipeline"
out=$(cd "$out" && pwd)
cp "$windows_build/bin/zentrix-host.exe" "$windows_build/bin/Vaderur.dll" "$out/app/"
printf '[Zentrix Vaderur]\n[General]\nMetricsFile=textfile\\vaderur.prom\nMetricsInterval=1\n' >"$out/app/Vaderur.ini"

state=$out/wine
host_pid=""
finish() {
  [ -z "$host_pid" ] || wait "$host_pid" 2>/dev/null || true
  pipeline_stop
  bash "$root/cmake/wine-session.sh" stop "$state" >/dev/null 2>&1 || true
}
trap finish EXIT
echo "== Starting Prometheus and node_exporter on free local ports"
pipeline_start "$out/app/textfile" "$out/pipeline"
echo "== Starting a virtual display and Wine"
bash "$root/cmake/wine-session.sh" start "$state" >/dev/null
export WINE_STATE_DIR=$state
. "$root/cmake/wine-env.sh"
[ ! -f "$state/display" ] || export DISPLAY=":$(cat "$state/display")"

echo "== Running zentrix-host.exe: $updates updates of a synthetic $cores-core CPU, one every $interval ms"
(cd "$out/app" && "$WINE64" ./zentrix-host.exe --source synthetic --cores "$cores" --updates "$updates" \
   --interval "$interval" --hold 3000 >"$out/host-output.txt" 2>&1 </dev/null) &
host_pid=$!

show() {
  local expr=$1
  echo
  echo "Query: $expr"
  echo "  in the browser: $PIPELINE_URL/graph?g0.expr=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$expr")"
  echo "  answer:"
  pipeline_query "$expr" | python3 -c '
import json, sys
for r in json.load(sys.stdin)["data"]["result"]:
    labels = ",".join("%s=%s" % kv for kv in sorted(r["metric"].items()) if kv[0] not in ("job",))
    print("    {%s} %s" % (labels, r["value"][1]))'
}
# Bounded wait for the first scrape of the file.
for tries in $(seq 1 300); do
  pipeline_query vaderur_updates_total | grep -q '"result":\[{' && break
  sleep 0.2
done
sleep $(( interval * updates / 4000 ))
show 'vaderur_updates_total'
show 'max by (instance) (vaderur_core_temperature_celsius)'
show 'vaderur_core_temperature_celsius'
show '1 - increase(vaderur_sample_temperature_celsius_bucket{le="90"}[1h]) / ignoring(le) increase(vaderur_sample_temperature_celsius_count[1h])'
status=0
wait "$host_pid" || status=$?
host_pid=""
echo
sed 's/^/   /' "$out/host-output.txt"
echo "Fleet demo done (host exit code $status). The file was $out/app/textfile/vaderur.prom (deleted at release)."
exit $status
