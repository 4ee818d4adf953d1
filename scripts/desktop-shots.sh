#!/usr/bin/env bash
# The README's pictures of the window on a screen scaled by 2 and by 1.5 and under a dark
# palette, grabbed offscreen by the desktop tests that check them:
#   scripts/desktop-shots.sh [BUILD_DIR]   writes docs/nelo-window-2x.png,
#       docs/nelo-schedules-1.5x.png, docs/nelo-dark-window.png, docs/nelo-dark-schedules.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target desktop_HighDpiTest desktop_DarkPaletteTest >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
run() { env XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen NELO_GRAB_DIR="$work" "$@" >/dev/null; }
run QT_SCALE_FACTOR=2 "$build/bin/desktop_HighDpiTest"
run QT_SCALE_FACTOR=1.5 "$build/bin/desktop_HighDpiTest"
run "$build/bin/desktop_DarkPaletteTest"
cp "$work/window-2x.png" "$root/docs/nelo-window-2x.png"
cp "$work/schedules-1.5x.png" "$root/docs/nelo-schedules-1.5x.png"
cp "$work/dark-window.png" "$root/docs/nelo-dark-window.png"
cp "$work/dark-schedules.png" "$root/docs/nelo-dark-schedules.png"
echo "wrote docs/nelo-window-2x.png, nelo-schedules-1.5x.png, nelo-dark-window.png, nelo-dark-schedules.png"
