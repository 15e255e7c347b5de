#!/usr/bin/env bash
# Fuzzes the settings reader: builds the libFuzzer target of tests/settings/fuzz with clang
# (address, undefined-behaviour and leak checks) and runs it for a bounded time over the corpus.
#   scripts/fuzz.sh [seconds]    (default 60; build folder: $VADERUR_BUILD_DIR or ./build)
# Exits non-zero when an input crashes, hangs, leaks or reads out of bounds; the input is saved
# as <build>/fuzz/crash-* (or leak-*, timeout-*).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VADERUR_BUILD_DIR:-$root/build}
seconds=${1:-60}
out=$build/fuzz
mkdir -p "$out/corpus"
bash "$root/scripts/install-deps.sh" clang libclang-rt-14-dev

clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" -o "$out/settings_fuzz" \
  "$root/tests/settings/fuzz/SettingsFuzz.cpp" \
  "$root/settings/IniText.cpp" "$root/settings/SettingsFile.cpp" \
  "$root/settings/SettingsParsing.cpp" "$root/settings/FileReplacePosix.cpp"

# New inputs go to the build folder; the corpus kept in the repo only seeds the run.
echo "settings fuzz: running for ${seconds} s"
cd "$out"
set +e
ASAN_OPTIONS=detect_leaks=1 "$out/settings_fuzz" \
  -max_total_time="$seconds" -timeout=5 -max_len=8192 -rss_limit_mb=2048 \
  -artifact_prefix="$out/" -print_final_stats=1 \
  "$out/corpus" "$root/tests/settings/fuzz/corpus" >"$out/last-run.log" 2>&1
status=$?
set -e
grep -Ev '^(#|"|###)' "$out/last-run.log" | tail -n 40
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/last-run.log")
echo "settings fuzz: ${runs:-?} executions in ${seconds} s, exit status $status"
exit "$status"
