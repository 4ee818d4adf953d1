#!/usr/bin/env bash
# Runs a desktop test program on a real X server with a window manager: Xvfb (1280x1024)
# and openbox, as a desktop session has them, with real key presses from xdotool.
#   run_x11.sh TEST_PROGRAM [ARGS...]
# Exits 77 (skipped) without xvfb-run, openbox, xdotool or xprop.
set -euo pipefail
for tool in xvfb-run xauth openbox xdotool xprop; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
cat > "$work/inner.sh" << 'INNER'
set -u
openbox --sm-disable > "$WORK/openbox.log" 2>&1 &
wm=$!
# The window manager is ready once it has named itself on the root window.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id" && break
  sleep 0.1
done
"$@"
status=$?
kill $wm 2> /dev/null
exit $status
INNER
export WORK=$work XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb LANG=ja_JP.UTF-8
unset LC_ALL LANGUAGE WAYLAND_DISPLAY
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/inner.sh" "$@"
