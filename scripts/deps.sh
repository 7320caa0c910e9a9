#!/usr/bin/env bash
# Installs the Debian packages the build, the tests (gpsim and gputils for the simulator's), the fuzz targets (clang and its fuzzer runtime)
# the screenshots and the Windows build need, when any is missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-serialport-dev libxcb1-dev fonts-dejavu-core socat gpsim gputils xvfb xauth openbox xdotool poppler-utils desktop-file-utils dpkg-dev lintian clang libclang-rt-dev)
# A private session bus for the test of the desktop's dark preference.
packages+=(dbus-daemon)
# The Windows build and its tests under Wine, where the Windows Qt lies beside the project; the wine
# command also runs a Windows compiler in the compile tests.
[ -d "$(dirname "$0")/../../shared/qt-win" ] &&
  packages+=(g++-mingw-w64-x86-64-posix qt6-base-dev-tools wine wine64 ninja-build)
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
