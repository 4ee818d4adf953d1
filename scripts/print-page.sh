#!/usr/bin/env bash
# The README's image of a printed page: a conversation typed into the real window
# (offscreen), printed to PDF, its first page rendered at 60 dpi.
#   scripts/print-page.sh [BUILD_DIR]   writes docs/nelo-print-page.png (needs pdftoppm)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target desktop_screenshot > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/lines.txt" << 'LINES'
田中、電話、03-1234
田中、住所、東京都千代田区丸の内１－１
田中は
明日１０時～１２時 会議
１２月２４日１８時 クリスマス会
予定
半径＝５
半径×半径×３．１４
１０：２０＋５：３０
曜日 ２００３／１／１
年齢 １９６０／４／１
２００３年
平成１５年
１０尺
３坪
５升
例
計算例
LINES
XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen \
  NELO_NOW="2026-12-08 09:30:00" "$build/bin/desktop_screenshot" "$work/lines.txt" "$work/print.pdf"
mkdir -p "$root/docs"
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/print.pdf" "$root/docs/nelo-print-page"
echo "wrote docs/nelo-print-page.png"
