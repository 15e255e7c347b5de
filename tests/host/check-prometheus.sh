#!/usr/bin/env bash
# The metrics file end to end with the real components: the reference host drives the plug-in
# under Wine (the tests' session) with MetricsFile in a folder that prometheus-node-exporter's
# textfile collector serves and prometheus scrapes every second. Checks that
#  - a reader parsing the file in a tight loop during the run never sees a partial or
#    malformed file, and promtool accepts every text it saw;
#  - Prometheus holds, for every core, the temperature of the last line of the run's CSV log,
#    and the histogram's _count and vaderur_updates_total equal the updates of the last write;
#  - the file is gone after the plug-in's release.
# Missing Prometheus parts fail the test: scripts/install-deps.sh installs them.
#   check-prometheus.sh SOURCE_DIR BIN_DIR WORK_DIR WINE_RUN
set -euo pipefail
source_dir=$1 bin=$2 work=$3 wine_run=$4
cores=4
updates=4
. "$source_dir/scripts/prometheus-pipeline.sh"

rm -rf "$work"
mkdir -p "$work/app/textfile" "$work/run" "$work/pipeline"
cp "$bin/zentrix-host.exe" "$bin/Vaderur.dll" "$work/app/"
# The settings file is read from the current folder; the relative MetricsFile is taken from
# the executable's folder, where the CSV log goes too.
printf '[Zentrix Vaderur]\n[General]\nCsvLog=1\nMetricsFile=textfile\\vaderur.prom\nMetricsInterval=1\n' \
  >"$work/run/Vaderur.ini"
metrics=$work/app/textfile/vaderur.prom

reader_pid=""
cleanup() {
  touch "$work/stop-reader"
  [ -z "$reader_pid" ] || wait "$reader_pid" 2>/dev/null || true
  pipeline_stop
}
trap cleanup EXIT
pipeline_start "$work/app/textfile" "$work/pipeline"
echo "Prometheus at $PIPELINE_URL scrapes the exporter of $work/app/textfile"

python3 "$source_dir/tests/host/metrics-reader.py" "$metrics" "$work/stop-reader" "$work/seen" \
  >"$work/reader.log" 2>&1 &
reader_pid=$!

# One update every 1.1 s, so each one is written (MetricsInterval=1); the plug-in stays loaded
# 3 s after the last so that Prometheus scrapes the last file at least twice.
(cd "$work/run" && "$wine_run" "$work/app/zentrix-host.exe" --source synthetic --cores $cores \
   --updates $updates --interval 1100 --hold 3000) >"$work/host.log" 2>&1 \
  || { echo "the host failed:"; cat "$work/host.log"; exit 1; }

status=0
touch "$work/stop-reader"
wait "$reader_pid" || status=1
reader_pid=""
cat "$work/reader.log"
for f in "$work"/seen/*.prom; do
  promtool check metrics <"$f" || { echo "promtool rejected $f"; status=1; }
done

if [ -e "$metrics" ]; then
  echo "the metrics file is still there after the plug-in's release"; status=1
fi

logs=("$work"/app/Vaderur\ log\ *.csv)
[ -f "${logs[0]}" ] || { echo "no CSV log in $work/app"; exit 1; }
last_line=$(tail -n 1 "${logs[0]}" | tr -d '\r')
echo "last CSV line: $last_line"

# The newest sample of each series before the file went (range selections skip the staleness
# markers that its removal left).
answer() {
  pipeline_query "last_over_time($1[2m])" | python3 -c '
import json, sys
result = json.load(sys.stdin)["data"]["result"]
for r in sorted(result, key=lambda r: int(r["metric"].get("core", "0"))):
    print(r["metric"].get("core", "-"), r["value"][1])'
}
# Bounded: the last scrapes are in by now; Prometheus may take a moment to answer them.
for tries in $(seq 1 50); do
  total=$(answer vaderur_updates_total | awk '{print $2}')
  [ "$total" = "$updates" ] && break
  sleep 0.2
done
echo "vaderur_updates_total in Prometheus: ${total:-none}"
[ "$total" = "$updates" ] || { echo "expected $updates updates in Prometheus"; status=1; }

expected=$(echo "$last_line" | awk -F, -v n=$cores '{for (i = 0; i < n; i++) print i, $(3 + 2 * i)}')
temperatures=$(answer vaderur_core_temperature_celsius)
echo "temperatures in Prometheus (core value):"; echo "$temperatures"
[ "$temperatures" = "$expected" ] || { echo "expected, from the CSV log:"; echo "$expected"; status=1; }

counts=$(answer vaderur_sample_temperature_celsius_count | awk '{print $2}' | sort -u)
echo "histogram _count of every core: $counts"
[ "$counts" = "$updates" ] || { echo "expected $updates for every core"; status=1; }
[ "$(answer vaderur_sample_temperature_celsius_count | wc -l)" = "$cores" ] || { echo "not $cores cores"; status=1; }

[ $status -eq 0 ] && echo "Prometheus end to end: passed"
exit $status
