#!/usr/bin/env bash
# Mounts a 256 KiB file system (tmpfs, as root) and runs the metrics file's full-disk case in it
# under Wine. The case must run, not skip; a machine where the mount is refused fails here.
#   check-metrics-full-disk.sh WINE_RUN TEST_EXE WORK_DIR
set -euo pipefail
wine_run=$1 exe=$2 work=$3
mkdir -p "$work"
mountpoint -q "$work" && umount "$work"
mount -t tmpfs -o size=256k tmpfs "$work" || { echo "cannot mount a small file system at $work (needs root)"; exit 1; }
trap 'umount "$work"' EXIT
output=$(cd "$work" && VADERUR_FULL_DISK_FIXTURE="Z:$(echo "$work" | tr / '\\')" \
         "$wine_run" "$exe" --gtest_filter='MetricsFileFullDisk.*' 2>&1) || { echo "$output"; exit 1; }
echo "$output"
if ! grep -q '^\[  PASSED  \] 1 test' <<<"$output" || grep -q SKIPPED <<<"$output"; then
  echo "the full-disk case did not run and pass"
  exit 1
fi
