#!/usr/bin/env bash
# The host and the plug-in in a folder whose Windows path is longer than the classic limit
# (started from the Unix side: Wine's CreateProcessW refuses such an executable path): every
# pane's PNG, the CSV log and the metrics file are written there. The current folder, where
# the settings file is, stays short: no process can have a longer one.
#   check-long-folder.sh BIN_DIR WORK_DIR WINE_RUN
set -euo pipefail
bin=$1 work=$2 wine_run=$3
rm -rf "$work"
long=$work
# About 330 characters of Windows path (Z: plus the Unix path).
while [ ${#long} -lt 320 ]; do long=$long/$(printf 'l%.0s' $(seq 1 60)); done
mkdir -p "$long"
cp "$bin/zentrix-host.exe" "$bin/Vaderur.dll" "$long/"
cd "$work"
echo "folder of $((${#long} + 2)) characters"

run_host() { "$wine_run" "$long/zentrix-host.exe" --source synthetic --cores 2 --interval 100 "$@"; }
# The first run creates the default settings file; the keys go before its end-of-file mark.
run_host --updates 1 >/dev/null
[ -f Vaderur.ini ] || { echo "no settings file was created"; exit 1; }
tr -d '\032' <Vaderur.ini >Vaderur.ini.new
printf 'CsvLog=1;\r\nMetricsFile=vaderur.prom;\r\nMetricsInterval=1;\r\n' >>Vaderur.ini.new
mv Vaderur.ini.new Vaderur.ini

# The metrics file goes with the plug-in's release: looked for while the host holds it.
run_host --updates 3 --export --hold 4000 >host.log 2>&1 &
host=$!
metrics=no
for _ in $(seq 1 80); do
  if [ -s "$long/vaderur.prom" ] && grep -q '^vaderur_updates_total' "$long/vaderur.prom"; then
    metrics=yes
    break
  fi
  sleep 0.1
done
wait $host || { cat host.log; echo "the host failed"; exit 1; }

status=0
[ "$metrics" = yes ] || { echo "no metrics file was written"; status=1; }
for core in 0 1; do
  [ -s "$long/Core #$core.png" ] || { echo "no picture of core $core"; status=1; }
done
logs=("$long"/Vaderur\ log\ *.csv)
[ -s "${logs[0]}" ] && [ "$(wc -l <"${logs[0]}")" -ge 4 ] || { echo "no CSV log with the updates"; status=1; }
ls -1 "$long"
exit $status
