#!/usr/bin/env bash
# Times one export of 16 panes of 86,400 samples (bench_export under Wine) beside gnuplot
# drawing the same 16 series as 16 PNG files of the same size, and prints our time divided
# by gnuplot's.   Usage: bench/export-vs-gnuplot.sh BUILD_ROOT   (holds native/ and windows/)
set -eu
root=$(cd "${1:?usage: export-vs-gnuplot.sh BUILD_ROOT}" && pwd)
windows=$root/windows
here=$(cd "$(dirname "$0")" && pwd)
exe=$windows/bench-export/bench_export.exe
if [ ! -f "$exe" ]; then
  echo "bench_export.exe not built: configure $windows with -DVADERUR_BENCHMARKS=ON" >&2
  exit 1
fi
command -v gnuplot >/dev/null || { echo "gnuplot not found (Debian package gnuplot-nox)" >&2; exit 1; }

work=$(mktemp -d)
started_session=
cleanup() {
  [ -n "$started_session" ] && "$here/../cmake/wine-session.sh" stop "$windows/wine" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

pid_file=$windows/wine/xvfb.pid
if [ ! -f "$pid_file" ] || ! kill -0 "$(cat "$pid_file")" 2>/dev/null; then
  "$here/../cmake/wine-session.sh" start "$windows/wine"
  started_session=1
fi

# Ours: the benchmark also writes the 16 series as core<N>.dat into the current folder.
(cd "$work" && "$windows/wine-run.sh" "$exe" --write-data) | tee "$work/ours.txt"
ours_ms=$(grep '^BENCH|export of ' "$work/ours.txt" | cut -d'|' -f3)

# gnuplot: the same pictures, 86,466 x 214, both series as lines over a grid, one process
# for all 16. "truecolor" writes 8-bit RGB PNGs like ours; gnuplot's default is a palette.
# (pngcairo cannot draw wider than 32,767 pixels, so this is the libgd png terminal.)
run_gnuplot() {  # $1: terminal options; prints the wall time in ms
  cat > "$work/plot.gp" <<GP
set terminal png $1 size 86466,214 background rgb "black"
set border lc rgb "#F0F000"
set grid lc rgb "#4F0000"
set tics textcolor rgb "white"
set key off
set xrange [0:86399]
set yrange [0:100]
set lmargin at screen 32.0/86466
set rmargin at screen 1 - 32.0/86466
set tmargin at screen 1 - 17.0/214
set bmargin at screen 8.0/214
do for [core=0:15] {
  set output sprintf("gnuplot%d.png", core)
  set title sprintf("Core #%d", core) textcolor rgb "white"
  plot sprintf("core%d.dat", core) using 1:3 with lines lc rgb "#00F000", \\
       sprintf("core%d.dat", core) using 1:2 with lines lc rgb "#F00000"
}
GP
  rm -f "$work"/gnuplot*.png
  local start end
  start=$(date +%s%N)
  (cd "$work" && gnuplot plot.gp)
  end=$(date +%s%N)
  local pictures
  pictures=$(ls "$work"/gnuplot*.png 2>/dev/null | wc -l)
  [ "$pictures" -eq 16 ] || { echo "gnuplot wrote $pictures of 16 pictures" >&2; exit 1; }
  echo $(( (end - start) / 1000000 ))
}

truecolor_ms=$(run_gnuplot truecolor)
palette_ms=$(run_gnuplot "")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "BENCH|gnuplot, 16 series x 86400 samples, RGB|$truecolor_ms|ms|png truecolor terminal, 16 PNGs of 86466 x 214, one process"
echo "BENCH|gnuplot, 16 series x 86400 samples, palette|$palette_ms|ms|png terminal default (8-bit colormap), same pictures"
echo "BENCH|export / gnuplot|$(ratio "$ours_ms" "$truecolor_ms")|x|our export over gnuplot writing the same RGB PNGs; target <= 0.5"
echo "BENCH|export / gnuplot palette|$(ratio "$ours_ms" "$palette_ms")|x|our export over gnuplot's default palette PNGs"
