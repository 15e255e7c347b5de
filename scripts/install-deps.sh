#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, when any is missing.
# Extra package names may be passed as arguments (the fuzz and benchmark commands do).
set -euo pipefail
packages=(cmake make g++ googletest
          g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
          wine64 fonts-wine xvfb xauth
          prometheus prometheus-node-exporter curl python3 "$@")  # the metrics tests: promtool, the pipeline, its queries
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  # With Wine's recommended packages: its own fonts and the X extensions its driver uses.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
