#!/bin/sh
# Symbolic links under the CSV log's name, made on the Unix side (Wine cannot make them): to
# an empty file, to a log with the same header, and to nothing. For win32_csv_log_file_tests.
set -e
dir=$1
rm -rf "$dir"
mkdir -p "$dir/elsewhere" "$dir/to-empty" "$dir/to-log" "$dir/dangling"
: > "$dir/elsewhere/empty.csv"
printf 'time,tjmax,temp0,load0,temp1,load1\r\n' > "$dir/elsewhere/log.csv"
name="Vaderur log 2026-12-08.csv"
ln -s "$dir/elsewhere/empty.csv" "$dir/to-empty/$name"
ln -s "$dir/elsewhere/log.csv" "$dir/to-log/$name"
ln -s "$dir/elsewhere/missing.csv" "$dir/dangling/$name"
