#!/usr/bin/env bash
# Runs every benchmark of the project and prints one table of their figures.
#   scripts/bench.sh            (build folder: $VADERUR_BUILD_DIR or ./build)
#
# Benchmarks are found by name, so a new one needs no change here:
#   - native programs bench_* (bench/CMakeLists.txt), built in build/native-bench: an optimised
#     build without sanitizers, as the sanitized test build would measure the sanitizers;
#   - Windows programs bench_*.exe, built in build/windows/bin and run under Wine;
#   - scripts bench/*.sh, run with the build folder as $1 (bench/cpu-share.sh takes
#     --minutes N or VADERUR_CPU_SHARE_MINUTES for a shorter run than its 10 minutes).
# Every output line of the form BENCH|<metric>|<value>|<unit>|<note> becomes a table row;
# each program's whole output is kept in build/bench-runs/<name>.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VADERUR_BUILD_DIR:-$root/build}
jobs=$(nproc)

extra=(libbenchmark-dev)
command -v gnuplot >/dev/null 2>&1 || extra+=(gnuplot-nox)
bash "$root/scripts/install-deps.sh" "${extra[@]}"

echo "== Building the benchmarks"
cmake -S "$root" -B "$build/native-bench" -DCMAKE_BUILD_TYPE=Release -DVADERUR_SANITIZE=OFF \
      -DVADERUR_TESTS=OFF -DVADERUR_BENCHMARKS=ON >/dev/null
cmake --build "$build/native-bench" -j"$jobs"
cmake -S "$root" -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DVADERUR_BENCHMARKS=ON >/dev/null
cmake --build "$build/windows" -j"$jobs"

runs=$build/bench-runs
mkdir -p "$runs"
results=$runs/results.txt
: >"$results"
failed=()

# run NAME FOLDER COMMAND...: runs one benchmark in a scratch folder of its own.
run() {
  local name=$1 folder=$2
  shift 2
  echo "== $name" >&2
  rm -rf "$folder"
  mkdir -p "$folder"
  if (cd "$folder" && "$@") >"$runs/$name.log" 2>&1; then
    :
  else
    failed+=("$name")
  fi
  # Colour codes (Google Benchmark's console) may stand before a line's text.
  sed 's/\x1b\[[0-9;]*m//g' "$runs/$name.log" | grep -a '^BENCH|' >>"$results" || true
}

shopt -s nullglob
for exe in "$build"/native-bench/bench/bench_*; do
  [ -x "$exe" ] && [ -f "$exe" ] || continue
  run "$(basename "$exe")" "$runs/$(basename "$exe").work" "$exe"
done

state=$build/windows/wine
bash "$root/cmake/wine-session.sh" start "$state" >/dev/null
trap 'bash "$root/cmake/wine-session.sh" stop "$state"' EXIT
for exe in "$build"/windows/bin/bench_*.exe; do
  run "$(basename "$exe" .exe)" "$runs/$(basename "$exe" .exe).work" "$build/windows/wine-run.sh" "$exe"
done
for script in "$root"/bench/*.sh; do
  run "$(basename "$script" .sh)" "$runs/$(basename "$script" .sh).work" bash "$script" "$build"
done

echo
echo "Benchmarks (Debian 12, $(nproc) cores; Windows figures under Wine 8)"
awk -F'|' '
  { metric[NR] = $2; value[NR] = $3; unit[NR] = $4; note[NR] = $5
    if (length($2) > w1) w1 = length($2); if (length($3) > w2) w2 = length($3); if (length($4) > w3) w3 = length($4) }
  END {
    if (w1 < 6) w1 = 6; if (w2 < 5) w2 = 5; if (w3 < 4) w3 = 4
    printf "%-" w1 "s  %" w2 "s  %-" w3 "s  %s\n", "Metric", "Value", "Unit", "Note"
    for (i = 1; i <= NR; i++) printf "%-" w1 "s  %" w2 "s  %-" w3 "s  %s\n", metric[i], value[i], unit[i], note[i]
  }' "$results"

if [ ${#failed[@]} -gt 0 ]; then
  echo
  echo "Failed: ${failed[*]} (their output is in $runs/<name>.log)" >&2
  exit 1
fi
