#!/bin/sh
# A symbolic link among the settings file's temporaries, made on the Unix side (Wine cannot
# make one): "Vaderur.ini.7.tmp" leads to a file that is not the plug-in's, last written long
# before any test starts. For settings_file_tests under Wine.
set -e
dir=$1
rm -rf "$dir"
mkdir -p "$dir/elsewhere"
printf "not the plug-in's\n" > "$dir/elsewhere/victim.txt"
touch -d '2000-01-01 00:00:00' "$dir/elsewhere/victim.txt"
ln -s "$dir/elsewhere/victim.txt" "$dir/Vaderur.ini.7.tmp"
