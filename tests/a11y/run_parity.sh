#!/usr/bin/env bash
# The desktop window driven from outside over the accessibility bus (AT-SPI) answers as
# nelo-cli does: the lines are typed into the pane named 「入力」, and the pane named 「会話」
# must then hold exactly what nelo-cli prints for the same lines.
#   run_parity.sh NELO NELO_CLI LINES
# Needs xvfb-run, dbus-run-session, at-spi2-core and python3-pyatspi; exits 77 (skipped)
# without them.
set -euo pipefail
nelo=$1 cli=$2 lines=$3
here=$(cd "$(dirname "$0")" && pwd)
for tool in xvfb-run dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
/usr/bin/python3 -c "import pyatspi" 2> /dev/null || { echo "SKIP: python3-pyatspi missing"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export NELO_NOW="2026-12-08 09:00:00" TZ=UTC0
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
XDG_CONFIG_HOME=$work/cli-config XDG_STATE_HOME=$work/cli-state "$cli" --new < "$lines" > "$work/expected" 2> /dev/null

cat > "$work/inner.sh" << INNER
set -u
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
/usr/libexec/at-spi-bus-launcher --launch-immediately &
"$nelo" --new > "$work/nelo.out" 2>&1 &
nelo_pid=\$!
/usr/bin/python3 "$here/type_lines.py" "$lines" > "$work/actual"
status=\$?
kill \$nelo_pid 2> /dev/null
exit \$status
INNER
# A display that goes away while it starts is tried once more (seen once on a busy machine).
for attempt in 1 2; do
  if xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash "$work/inner.sh" 2> "$work/stderr"; then
    break
  fi
  if [ $attempt -eq 2 ] || ! grep -q "could not connect to display" "$work/nelo.out"; then
    echo "driving nelo failed:"; cat "$work/stderr" "$work/nelo.out"; exit 1
  fi
done
if ! cmp -s "$work/expected" "$work/actual"; then
  echo "the conversation pane differs from nelo-cli's output:"
  diff "$work/expected" "$work/actual" || true
  exit 1
fi
echo "the conversation pane holds what nelo-cli prints ($(wc -l < "$work/expected") lines)"
