#!/usr/bin/env bash
# The plug-in's share of one core in a long, quiet run: zentrix-host.exe feeds the synthetic
# 16-core source at one update a second, once with Vaderur.dll and once without a plug-in,
# side by side under Wine. The share is the difference of the two processes' CPU times over
# the run's length, as a percentage of one core.
#   bench/cpu-share.sh BUILD_ROOT [--minutes N]      (or VADERUR_CPU_SHARE_MINUTES; default 10)
# Uses the Wine session running for BUILD_ROOT/windows, or starts and stops one of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
shift
minutes=${VADERUR_CPU_SHARE_MINUTES:-10}
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    *) echo "cpu-share.sh: unknown option '$1'" >&2; exit 2 ;;
  esac
done

source "$root/bench/lib/host-runs.bash"
bench_host_runs cpu-share.sh "$build"

work=$build/bench-runs/cpu-share
rm -rf "$work"
mkdir -p "$work/with" "$work/without"
cp "$bin/zentrix-host.exe" "$bin/Vaderur.dll" "$work/with/"
cp "$bin/zentrix-host.exe" "$work/without/"

updates=$((minutes * 60))
run=(--source synthetic --cores 16 --interval 1000 --updates "$updates")
echo "cpu-share: two runs of $updates updates side by side (about $minutes min)" >&2
(cd "$work/with" && "$build/windows/wine-run.sh" ./zentrix-host.exe "${run[@]}" >"$work/with.log" 2>&1) &
with_pid=$!
(cd "$work/without" && "$build/windows/wine-run.sh" ./zentrix-host.exe "${run[@]}" --no-plugin >"$work/without.log" 2>&1) &
without_pid=$!
wait "$with_pid" || { cat "$work/with.log" >&2; exit 1; }
wait "$without_pid" || { cat "$work/without.log" >&2; exit 1; }

cpu_ms() { sed -n 's/^Process CPU time: \([0-9]*\) ms.*/\1/p' "$1" | tail -1; }
run_ms() { sed -n 's/^Run ended: [0-9]* updates* in \([0-9]*\) ms.*/\1/p' "$1" | tail -1; }
with=$(cpu_ms "$work/with.log")
without=$(cpu_ms "$work/without.log")
elapsed=$(run_ms "$work/with.log")
[ -n "$with" ] && [ -n "$without" ] && [ -n "$elapsed" ] || { echo "cpu-share.sh: no CPU times in the host's output" >&2; exit 1; }
share=$(awk -v a="$with" -v b="$without" -v t="$elapsed" 'BEGIN { printf "%.3f", (a - b) * 100 / t }')
echo "BENCH|CPU share of the plug-in, 16 cores, 1 update/s|$share|% of one core|$minutes min under Wine: host with plug-in $with ms CPU, alone $without ms, run $elapsed ms; target <= 0.5"
