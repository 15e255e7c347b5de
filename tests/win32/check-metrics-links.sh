#!/usr/bin/env bash
# Makes symbolic links at the metrics file's temporary names on the Unix side (Wine makes none
# itself), one to a file that is not the plug-in's and one to nowhere, then runs the test case
# that writes the metrics file beside them under Wine. The case must run, not skip.
#   check-metrics-links.sh WINE_RUN TEST_EXE WORK_DIR
set -euo pipefail
wine_run=$1 exe=$2 work=$3
rm -rf "$work"
mkdir -p "$work/elsewhere"
printf "not the plug-in's\n" >"$work/elsewhere/victim.txt"
ln -s "$work/elsewhere/victim.txt" "$work/to-a-file.prom.7.tmp"
ln -s "$work/elsewhere/nowhere.txt" "$work/to-nowhere.prom.7.tmp"
output=$(cd "$work" && VADERUR_LINK_FIXTURE="Z:$(echo "$work" | tr / '\\')" \
         "$wine_run" "$exe" --gtest_filter='MetricsFileLinks.*' 2>&1) || { echo "$output"; exit 1; }
echo "$output"
for link in to-a-file.prom.7.tmp to-nowhere.prom.7.tmp; do
  [ -L "$work/$link" ] || { echo "the link $link was removed"; exit 1; }
done
if ! grep -q '^\[  PASSED  \] 1 test' <<<"$output" || grep -q SKIPPED <<<"$output"; then
  echo "the link case did not run and pass"
  exit 1
fi
