#!/usr/bin/env bash
# Builds Pinwright and starts it on the bundled example program (or on the file given).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
file="${1:-$PWD/build/bin/examples/blink.pbp}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "$(uname)" = Linux ]; then
  echo "No display found: starting under a virtual X server (xvfb-run)."
  echo "To see the window on a headless machine, forward X or take a screenshot, e.g."
  echo "  xvfb-run -a -s '-screen 0 1280x800x24' build/bin/pinwright \"$file\""
  exec xvfb-run -a -s '-screen 0 1280x800x24' build/bin/pinwright "$file"
fi
exec build/bin/pinwright "$file"
