#!/usr/bin/env bash
# Reminders reach a real notification service: dunst on a private session bus under Xvfb.
#   run_dunst.sh NELO REMINDERS_TEST NOTEBOOK ICON_PNG
# 1. nelo opens NOTEBOOK with its clock running from 09:49:55 on the day of its entries:
#    the start-up summary and the all-day entry's reminder come at once, the reminder of
#    the 10:00 meeting five seconds later, with its summary, body, app name and icon.
# 2. The desktop test's service case (REMINDERS_TEST with NELO_TEST_DUNST=1): an entry
#    deleted before its time never notifies, two identical entries notify once each.
# Needs xvfb-run, dbus-run-session and dunst (dunstctl); exits 77 (skipped) without them.
set -euo pipefail
nelo=$1 remtest=$2 notebook=$3 icon=$4
for tool in xvfb-run dbus-run-session dbus-send dunst dunstctl python3; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool missing"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" "$work/icons" "$work/config/dunst" && chmod 700 "$work/runtime"
# The icon where dunst looks for it: the desktop entry's icon name.
cp "$icon" "$work/icons/com.vantor.Nelo.png"
cp "$notebook" "$work/week.nel"
cat > "$work/config/dunst/dunstrc" << EOF
[global]
    icon_path = $work/icons
    # Two identical notifications are two here, not one with a count.
    stack_duplicates = false
[urgency_normal]
    timeout = 0
EOF

cat > "$work/inner.sh" << INNER
set -u
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime TZ=UTC0
dunst > "$work/dunst.log" 2>&1 &
dunst_pid=\$!
# Asked before dunst owns its name, the bus would start another one.
for i in \$(seq 50); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.freedesktop.Notifications 2> /dev/null | grep -q "boolean true" && break
  sleep 0.1
done
python3 -c 'import time; print(time.monotonic())' > "$work/t0"
NELO_NOW="2026-12-08 09:49:55" NELO_CLOCK=running QT_QPA_PLATFORM=xcb "$nelo" "$work/week.nel" > "$work/nelo.log" 2>&1 &
nelo_pid=\$!
for i in \$(seq 150); do [ "\$(dunstctl count displayed)" -ge 3 ] && break; sleep 0.1; done
sleep 1
kill \$nelo_pid 2> /dev/null
dunstctl close-all
sleep 0.3
dunstctl history > "$work/history.json"
NELO_TEST_DUNST=1 QT_QPA_PLATFORM=offscreen "$remtest" aRealServiceGetsEachReminderAtItsSecond > "$work/qtest.log" 2>&1
status=\$?
kill \$dunst_pid 2> /dev/null
exit \$status
INNER
if ! xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$work/inner.sh" 2> "$work/stderr"; then
  echo "the desktop test with dunst failed:"; cat "$work/qtest.log" "$work/stderr"; exit 1
fi
python3 - "$work/history.json" "$(cat "$work/t0")" << 'CHECK'
import json, sys
history = json.load(open(sys.argv[1]))["data"][0]
t0 = float(sys.argv[2])
got = {}
for n in history:
    got.setdefault(n["summary"]["data"], []).append(n)
def one(summary):
    notes = got.get(summary, [])
    assert len(notes) == 1, f"{summary}: {len(notes)} notifications, not 1 ({sorted(got)})"
    n = notes[0]
    assert n["appname"]["data"] == "ＮＥＬＯ", n["appname"]["data"]
    assert n["icon_path"]["data"].endswith("/com.vantor.Nelo.png"), n["icon_path"]["data"]
    return n
assert sorted(got) == ["10:00 会議", "今日の予定 3 件", "終日 大掃除"], sorted(got)
summary = one("今日の予定 3 件")
assert summary["body"]["data"] == "12/07(月) ～ 12/10(木)　出張\n12/08(火)　大掃除\n12/08(火) 10:00 ～ 12:00　会議", summary["body"]["data"]
assert one("終日 大掃除")["body"]["data"] == "12/08(火)"
meeting = one("10:00 会議")
assert meeting["body"]["data"] == "12/08(火) 10:00 ～ 12:00", meeting["body"]["data"]
# The clock started between the launch and the summary; the reminder is due five seconds
# later: never before, and within a second of it (a busy machine delays the delivery).
at = meeting["timestamp"]["data"] / 1e6
started_by = summary["timestamp"]["data"] / 1e6
assert t0 + 5.0 <= at <= started_by + 6.0, f"reminder {at - t0:.2f} s after the launch, summary {started_by - t0:.2f} s"
print(f"reminder {at - t0:.2f} s after the launch (due 5 s after the clock started, summary at {started_by - t0:.2f} s)")
CHECK
grep -E "^(PASS|FAIL|SKIP)" "$work/qtest.log" | grep -v -e initTestCase -e cleanupTestCase
