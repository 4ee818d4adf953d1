#!/usr/bin/env bash
# Exports schedules with nelo-cli's \ical in three time zones (Tokyo, New York across its
# March change, UTC) and has other programs read the file: python-icalendar and khal
# must see every event at the instant the notebook holds it (entries at 24:00 and 25:00
# included), and calcurse's import and export must give the same entries back to Nelo
# (multi-day entries included). An empty notebook must give a calendar they all read.
# Skipped (77) when a program is missing.
#   check_ical.sh NELO_CLI
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/khal_config.sh"
py=/usr/bin/python3
if ! [ -x "$py" ] || ! "$py" -c 'import icalendar, pytz, dateutil' 2>/dev/null || ! command -v calcurse >/dev/null ||
   ! command -v khal >/dev/null; then
  echo "python3-icalendar, calcurse or khal missing: skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now="2024-03-08 10:00:00"
# The typed lines, and the entries they are as start|end|business in local time (a
# date-only start or end as a date; the end of whole days the last day).
lines='明日１０時 明日１２時 会議
３月１０日９時 ３月１０日１０時 日曜の会議
明日２４時 夜の会議
明日２５時 深夜作業
３月１２日 ３月１４日 出張
３月２０日 休み
３月２１日９時 ３月２１日１７時 研修（とても長い用件の名前なので折り返されるはずの行です）
明日 明日１２時 歯医者
３月１５日１０時 ３月１６日 合宿'
expected='2024-03-09 10:00|2024-03-09 12:00|会議
2024-03-10 09:00|2024-03-10 10:00|日曜の会議
2024-03-10 00:00||夜の会議
2024-03-10 01:00||深夜作業
2024-03-12|2024-03-14|出張
2024-03-20||休み
2024-03-21 09:00|2024-03-21 17:00|研修（とても長い用件の名前なので折り返されるはずの行です）
2024-03-09|2024-03-09 12:00|歯医者
2024-03-15 10:00|2024-03-16|合宿'

# nelo_run DIR: runs nelo-cli in DIR on DIR/input (TZ as set by the caller).
nelo_run() {
  mkdir -p "$1/xdg" "$1/state"
  (cd "$1" && NELO_NOW="$now" XDG_CONFIG_HOME="$1/xdg" XDG_STATE_HOME="$1/state" "$cli" --new < input > stdout 2> stderr) ||
    { echo "nelo-cli failed in $1"; cat "$1/stderr"; return 1; }
}

status=0
for zone in Asia/Tokyo America/New_York UTC0; do
  export TZ=$zone
  run=$work/${zone//\//-}
  mkdir -p "$run"
  { echo "$lines"; echo '\ical out.ics'; } > "$run/input"
  nelo_run "$run" || { status=1; continue; }
  grep -q "9 件書き出しました" "$run/stdout" || { echo "$zone: no export answer"; cat "$run/stdout"; status=1; continue; }
  if [ "$zone" = UTC0 ]; then
    grep -q 'DTSTART:20240309T100000Z' "$run/out.ics" || { echo "$zone: times are not written in UTC"; status=1; }
  else
    grep -q "DTSTART;TZID=$zone:20240309T100000" "$run/out.ics" && grep -q "^TZID:$zone" "$run/out.ics" ||
      { echo "$zone: times do not carry the zone and its VTIMEZONE"; status=1; }
  fi

  # python-icalendar: every event, Nelo's marks of date-only starts and ends included.
  got=$("$py" "$here/entries.py" export "$run/out.ics") || { echo "$zone: python-icalendar cannot read the file"; status=1; continue; }
  if [ "$got" != "$(sort <<< "$expected")" ]; then
    echo "$zone: python-icalendar reads other events:"; diff <(sort <<< "$expected") <(echo "$got"); status=1
  fi

  # khal: the instants as written (it knows no marks); an entry without end gets one
  # from khal, so only its start counts.
  mkdir -p "$run/khal/cal" "$run/khal/config/khal" "$run/khal/data"
  write_khal_config "$run/khal/config" nelo "$run/khal/cal" "${zone/UTC0/UTC}"
  khal_list=$(XDG_CONFIG_HOME=$run/khal/config XDG_DATA_HOME=$run/khal/data \
    sh -c 'khal import --batch -a nelo "$1" && khal list --format "{start}|{end}|{title}||" --day-format "" 2024-03-01 60d' \
    - "$run/out.ics" 2>&1) || { echo "$zone: khal cannot import the file: $khal_list"; status=1; continue; }
  raw=$("$py" "$here/entries.py" export "$run/out.ics" raw)
  want=$(sed 's/^\([^|]*\)|[^|]*|/\1||/' <<< "$raw" | sort)
  have=$("$py" "$here/entries.py" khal start <<< "$khal_list")
  if [ "$want" != "$have" ]; then
    echo "$zone: khal reads other events:"; diff <(echo "$want") <(echo "$have"); status=1
  fi

  # calcurse: import, export, and Nelo reads calcurse's file. Entries whose start and end
  # differ in having a time of day are Nelo's own (calcurse has no such entries) and
  # stay out of this round trip.
  back=$run/back
  mkdir -p "$back/cc"
  { head -n 7 <<< "$lines"; echo '\ical out.ics'; } > "$back/input"
  nelo_run "$back" || { status=1; continue; }
  calcurse -D "$back/cc" -i "$back/out.ics" > "$back/cc.import" 2>&1 &&
    calcurse -D "$back/cc" --export > "$back/calcurse.ics" 2> "$back/cc.export" ||
    { echo "$zone: calcurse failed"; cat "$back/cc.import" "$back/cc.export"; status=1; continue; }
  grep -q "5 apps / 2 events / 0 todos / 0 skipped" "$back/cc.import" ||
    { echo "$zone: calcurse's report:"; cat "$back/cc.import"; status=1; }
  mkdir -p "$back/again"
  printf '\\ical-read %s\n\\ical out.ics\n' "$back/calcurse.ics" > "$back/again/input"
  nelo_run "$back/again" || { status=1; continue; }
  grep -q "予定を 7 件読み込みました" "$back/again/stdout" || { echo "$zone: Nelo's import of calcurse's file:"; cat "$back/again/stdout"; status=1; }
  first=$("$py" "$here/entries.py" export "$back/out.ics")
  second=$("$py" "$here/entries.py" export "$back/again/out.ics")
  if [ "$first" != "$second" ]; then
    echo "$zone: the entries changed on their way through calcurse:"; diff <(echo "$first") <(echo "$second"); status=1
  fi
done

# An empty notebook writes a calendar the others read (with a component, as it must).
export TZ=UTC0
empty=$work/empty
mkdir -p "$empty"
echo '\ical empty.ics' > "$empty/input"
nelo_run "$empty" || exit 1
grep -q "BEGIN:VTIMEZONE" "$empty/empty.ics" || { echo "the empty calendar has no component"; status=1; }
"$py" -c 'import icalendar, sys; icalendar.Calendar.from_ical(open(sys.argv[1], "rb").read())' "$empty/empty.ics" ||
  { echo "python-icalendar cannot read the empty calendar"; status=1; }
calcurse -D "$empty" -i "$empty/empty.ics" > "$empty/cc.import" 2>&1 || { echo "calcurse cannot read the empty calendar"; status=1; }
exit $status
