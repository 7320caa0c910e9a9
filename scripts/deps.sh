#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the fuzz targets (clang and its fuzzer runtime)
# and the screenshots need, when any is missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-serialport-dev fonts-dejavu-core socat xvfb xauth openbox xdotool poppler-utils desktop-file-utils dpkg-dev lintian clang libclang-rt-dev)
# A private session bus for the test of the desktop's dark preference.
packages+=(dbus-daemon)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
