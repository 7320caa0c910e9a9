# Sourced by the scenario tests that drive the real program under a window manager on a virtual display.
# Skips the test (exit 77) when a tool is missing; makes $home, removed on exit.
for tool in xvfb-run openbox xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# Runs the bash script $2 for at most $1 seconds on a fresh display, once openbox manages it (the frame
# must be managed from its first appearance), with HOME and the XDG folders inside $home. Further
# NAME=VALUE arguments are passed to the script's environment.
under_wm() {
  local limit=$1 script=$2
  shift 2
  env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=xcb "$@" \
    timeout "$limit" xvfb-run -a -s '-screen 0 1280x800x24' bash -c 'openbox >/dev/null 2>&1 &
      timeout 20 xdotool search --sync --name "^Openbox$" >/dev/null 2>&1
      sleep 0.5
      . "$0"' "$script"
}
