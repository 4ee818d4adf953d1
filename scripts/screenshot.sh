#!/usr/bin/env bash
# The README's screenshot of the desktop program, made from the real window offscreen:
#   scripts/screenshot.sh [BUILD_DIR]   writes docs/nelo-window.png
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target desktop_screenshot > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/docs"
cat > "$work/lines.txt" << 'LINES'
田中、電話、03-1234
田中は
明日１０時～１２時 会議
予定
半径＝５
半径×半径×３．１４
曜日 ２００３／１／１
１０尺
LINES
XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen \
  NELO_NOW="2026-12-08 09:30:00" "$build/bin/desktop_screenshot" "$work/lines.txt" "$root/docs/nelo-window.png" 640 520
echo "wrote docs/nelo-window.png"
