#!/usr/bin/env bash
# Reads each calendar of tests/golden/calendar (shaped as Google Calendar, Thunderbird,
# Apple Calendar and Outlook write them, and a Shift-JIS one) with nelo-cli, and checks
# that the entries Nelo registered are the events two other readers see in the same
# file, in the same zone, on the same days: khal (repeating events expanded by khal)
# and python-icalendar with python-dateutil expanding the rules (tests/ical/entries.py).
# Both get the file as UTF-8 without a BOM (khal fails on either); decoding those is
# Nelo's own part. Skipped (77) when a program is missing.
#   check_samples.sh NELO_CLI
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/khal_config.sh"
samples=$here/../golden/calendar
py=/usr/bin/python3
if ! [ -x "$py" ] || ! "$py" -c 'import icalendar, pytz, dateutil' 2>/dev/null || ! command -v khal >/dev/null; then
  echo "python3-icalendar or khal missing: skipped"
  exit 77
fi
export TZ=Asia/Tokyo
now="2024-03-01 09:00:00"
from=2024-03-01
to=2025-03-01

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for sample in "$samples"/{google,thunderbird,apple,outlook,sjis}.ics; do
  name=$(basename "$sample" .ics)
  run=$work/$name
  mkdir -p "$run/xdg" "$run/state" "$run/khal/cal" "$run/khal/config/khal" "$run/khal/data"
  # Nelo: the file as it is, then its entries as Nelo writes them.
  printf '\\ical-read %s\n\\ical nelo.ics\n' "$sample" > "$run/input"
  (cd "$run" && NELO_NOW="$now" XDG_CONFIG_HOME="$run/xdg" XDG_STATE_HOME="$run/state" "$cli" --new \
    < input > stdout 2> stderr) || { echo "$name: nelo-cli failed"; cat "$run/stderr"; status=1; continue; }
  "$py" "$here/entries.py" export "$run/nelo.ics" > "$run/nelo" || { echo "$name: Nelo's export unreadable"; status=1; continue; }

  "$py" - "$sample" "$run/utf8.ics" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
if data.startswith(b'\xef\xbb\xbf'):
    data = data[3:]
try:
    data.decode('utf-8')
except UnicodeDecodeError:
    data = data.decode('cp932').encode('utf-8')
open(sys.argv[2], 'wb').write(data)
PY

  # python-icalendar with python-dateutil: every field compared.
  "$py" "$here/entries.py" reference "$run/utf8.ics" "$from" "$to" > "$run/reference"
  if ! cmp -s "$run/nelo" "$run/reference"; then
    echo "$name: python-icalendar reads other events than Nelo registered (< Nelo, > python):"
    diff "$run/nelo" "$run/reference"
    status=1
  fi

  # khal: starts, ends and titles; khal gives an event without end one, so where Nelo
  # has none only the start is compared.
  write_khal_config "$run/khal/config" samples "$run/khal/cal" "$TZ"
  export XDG_CONFIG_HOME=$run/khal/config XDG_DATA_HOME=$run/khal/data
  khal import --batch -a samples "$run/utf8.ics" > "$run/khal.import" 2>&1 ||
    { echo "$name: khal import failed"; cat "$run/khal.import"; status=1; continue; }
  khal list --format "{start}|{end}|{title}|{location}|{status}" --day-format "" "$from" 365d > "$run/khal.list" 2>&1
  "$py" "$here/entries.py" khal < "$run/khal.list" > "$run/khal.full"
  "$py" "$here/entries.py" khal start < "$run/khal.list" > "$run/khal.start"
  unset XDG_CONFIG_HOME XDG_DATA_HOME
  grep -v '|$' "$run/nelo" | grep -v '||' > "$run/nelo.ended" || true
  grep '||' "$run/nelo" > "$run/nelo.open" || true
  missing=$(comm -23 <(sort "$run/nelo.ended") <(sort "$run/khal.full"); \
            comm -23 <(sort "$run/nelo.open") <(sort "$run/khal.start"))
  extra=$(comm -13 <(sed 's/|[^|]*|/||/' "$run/nelo" | sort) <(sort "$run/khal.start"))
  if [ -n "$missing" ] || [ -n "$extra" ]; then
    echo "$name: khal and Nelo disagree"
    [ -n "$missing" ] && echo "  Nelo only: $missing"
    [ -n "$extra" ] && echo "  khal only: $extra"
    status=1
  elif cmp -s "$run/nelo" "$run/reference"; then
    echo "$name: the $(wc -l < "$run/nelo") entries agree"
  fi
done
exit $status
