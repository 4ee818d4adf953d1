#!/usr/bin/env bash
# Exports schedules with nelo-cli's \ical and has two other programs read the file: the
# Python icalendar library and calcurse's import. Both must see the same events as the
# notebook. Skipped (77) when either program is missing.
#   check_ical.sh NELO_CLI
set -u
cli=$1
py=/usr/bin/python3
if ! [ -x "$py" ] || ! "$py" -c 'import icalendar' 2>/dev/null || ! command -v calcurse >/dev/null; then
  echo "python3-icalendar or calcurse missing: skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/xdg" "$work/state" "$work/cc"
cat > "$work/input" <<'LINES'
明日１０時 明日１２時 会議
６月５日 ６月７日 出張
６月１０日１５時 歯医者
６月２０日 休み
６月２１日９時 ６月２１日１７時 研修（とても長い用件の名前なので折り返されるはずの行です）
\ical out.ics
LINES
(cd "$work" && NELO_NOW="2003-06-01 10:00:00" TZ=UTC0 XDG_CONFIG_HOME="$work/xdg" XDG_STATE_HOME="$work/state" \
  "$cli" --new < input > stdout 2> stderr) || { echo "nelo-cli failed"; cat "$work/stderr"; exit 1; }
grep -q "5 件書き出しました" "$work/stdout" || { echo "no export answer"; cat "$work/stdout"; exit 1; }

# The events as start, end, summary; dates as YYYY-MM-DD, times as YYYY-MM-DD HH:MM,
# a date end shown as the last day (the file's end is exclusive).
expected="2003-06-02 10:00|2003-06-02 12:00|会議
2003-06-05|2003-06-07|出張
2003-06-10 15:00||歯医者
2003-06-20|2003-06-20|休み
2003-06-21 09:00|2003-06-21 17:00|研修（とても長い用件の名前なので折り返されるはずの行です）"

python_events=$("$py" - "$work/out.ics" <<'PY'
import datetime, sys, icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
def show(v, end=False):
    if v is None:
        return ''
    v = v.dt
    if isinstance(v, datetime.datetime):
        return v.strftime('%Y-%m-%d %H:%M')
    if end:
        v = v - datetime.timedelta(days=1)
    return v.strftime('%Y-%m-%d')
for ev in cal.walk('VEVENT'):
    assert ev.get('UID') and ev.get('DTSTAMP'), 'UID and DTSTAMP'
    print('%s|%s|%s' % (show(ev.get('DTSTART')), show(ev.get('DTEND'), True), ev.get('SUMMARY')))
PY
) || { echo "python icalendar could not read the file"; exit 1; }
if [ "$python_events" != "$expected" ]; then
  echo "python icalendar read other events:"; diff <(echo "$expected") <(echo "$python_events"); exit 1
fi

# calcurse: import into an empty data folder, then list every appointment and event.
calcurse -D "$work/cc" -i "$work/out.ics" > "$work/cc.import" 2>&1 || { echo "calcurse import failed"; cat "$work/cc.import"; exit 1; }
listing=$(TZ=UTC0 calcurse -D "$work/cc" --input-datefmt 4 -Q --from 2003-06-01 --days 40 \
  --format-apt='%(start:%Y-%m-%d %H:%M)|%(end:%Y-%m-%d %H:%M)|%m\n' --format-event='%m\n' 2>&1)
echo "$listing"
for want in "2003-06-02 10:00|2003-06-02 12:00|会議" "2003-06-10 15:00|2003-06-10 15:00|歯医者" \
  "2003-06-21 09:00|2003-06-21 17:00|研修（とても長い用件の名前なので折り返されるはずの行です）"; do
  grep -qxF -- "$want" <<< "$listing" || { echo "calcurse does not list: $want"; exit 1; }
done
# Whole-day entries are events on each of their days (calcurse marks them with " * ").
days() { grep -cxE "( \* )?$1" <<< "$listing"; }
[ "$(days 出張)" -eq 3 ] || { echo "calcurse lists the trip on other days"; exit 1; }
[ "$(days 休み)" -eq 1 ] || { echo "calcurse lists the day off on other days"; exit 1; }
# calcurse's report: 3 appointments and 2 events, none skipped.
grep -q "3 apps / 2 events / 0 todos / 0 skipped" "$work/cc.import" || { echo "calcurse's report:"; cat "$work/cc.import"; exit 1; }
exit 0
