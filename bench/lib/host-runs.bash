# Sourced by the benchmark scripts that run zentrix-host.exe under Wine:
#   bench_host_runs NAME BUILD_ROOT
# fails when the host or the plug-in is not built, sets $bin to the folder holding them, and
# uses the Wine session running for BUILD_ROOT/windows or starts one that ends with the script.
bench_host_runs() {
  local name=$1 build=$2 f
  bin=$build/windows/bin
  for f in zentrix-host.exe Vaderur.dll; do
    [ -f "$bin/$f" ] || { echo "$name: $bin/$f is not built" >&2; exit 1; }
  done
  bench_state=$build/windows/wine
  bench_started_session=no
  if ! { [ -f "$bench_state/xvfb.pid" ] && kill -0 "$(cat "$bench_state/xvfb.pid")" 2>/dev/null; }; then
    bash "$root/cmake/wine-session.sh" start "$bench_state" >/dev/null
    bench_started_session=yes
  fi
  trap '[ "$bench_started_session" = no ] || bash "$root/cmake/wine-session.sh" stop "$bench_state"' EXIT
}
