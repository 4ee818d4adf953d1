#!/usr/bin/env bash
# The README's picture of a reminder: nelo under Xvfb with its clock running from a few
# seconds before an entry's reminder, the notification shown by dunst on a private
# session bus, the screen grabbed.
#   scripts/notification-shot.sh [BUILD_DIR]   writes docs/nelo-notification.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
for tool in xvfb-run dbus-run-session dbus-send dunst; do
  command -v "$tool" > /dev/null || { echo "$tool is missing (scripts/install-deps.sh test)"; exit 1; }
done
cmake --build "$build" --target nelo screen_grab > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" "$work/icons" "$work/config/dunst" "$work/config/Vantor" && chmod 700 "$work/runtime"
cp "$root/src/desktop/icons/png/nelo-48.png" "$work/icons/com.vantor.Nelo.png"
cp "$root/tests/golden/agenda/week.nel" "$work/week.nel"
cat > "$work/config/dunst/dunstrc" << CONF
[global]
    font = IPAPGothic 11
    icon_path = $work/icons
    max_icon_size = 48
    width = 340
    offset = 16x16
    frame_width = 1
    frame_color = "#8a8a8a"
    separator_color = frame
    padding = 10
    horizontal_padding = 10
    corner_radius = 4
    show_indicators = no
[urgency_normal]
    background = "#fbfbfb"
    foreground = "#202020"
    timeout = 0
CONF
cat > "$work/config/Vantor/Nelo.conf" << CONF
[Window size]
Rect=0024 0024 0584 0444
CONF
cat > "$work/inner.sh" << INNER
set -u
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime TZ=UTC0 LANG=ja_JP.UTF-8
dunst > "$work/dunst.log" 2>&1 &
for i in \$(seq 50); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \\
    string:org.freedesktop.Notifications 2> /dev/null | grep -q "boolean true" && break
  sleep 0.1
done
NELO_NOW="2026-12-08 09:49:57" NELO_CLOCK=running QT_QPA_PLATFORM=xcb "$build/bin/nelo" "$work/week.nel" > "$work/nelo.log" 2>&1 &
sleep 5
QT_QPA_PLATFORM=xcb "$build/bin/screen_grab" "$root/docs/nelo-notification.png" 0 0 960 480
INNER
xvfb-run -a -s "-screen 0 960x480x24" dbus-run-session -- bash "$work/inner.sh" 2> /dev/null
echo "wrote docs/nelo-notification.png"
