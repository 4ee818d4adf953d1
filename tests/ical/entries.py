#!/usr/bin/python3
"""The entries a calendar file stands for, one "start|end|business" line each, sorted,
as other programs read it; the calendar checks compare them with what Nelo made of the
same file. Times are local (the TZ of the run), dates YYYY-MM-DD, a whole-day end the
last day; an entry without end has an empty end.

  entries.py export FILE [raw]      events of a file Nelo wrote (one per entry); raw: the
                                    times as written, Nelo's own marks of date-only
                                    starts and ends not applied
  entries.py khal TITLES            `khal list` lines on stdin ("start|end|title|location|status");
                                    TITLES=start prints "start||business" (khal gives every
                                    event an end)
  entries.py reference FILE FROM TO the events of any file, repeating ones expanded by
                                    python-dateutil between the local dates FROM and TO,
                                    cancelled ones left out

Businesses are compared as Nelo keeps them: the title on one line (runs of blanks one
full-width blank), the place after it in full-width parentheses, in code page 932
(characters without a form become "？"), at most 1023 bytes.
"""
import datetime
import re
import sys

import icalendar
import pytz
from dateutil import rrule

WINDOWS_ZONES = {"Tokyo Standard Time": "Asia/Tokyo", "Eastern Standard Time": "America/New_York"}
MAX_OCCURRENCES = 500


def business(title, location=""):
    def one_line(text):
        text = re.sub(r"^[\x00-\x20\x7f]+|[\x00-\x20\x7f]+$", "", str(text or ""))
        return re.sub(r"[\x00-\x20\x7f]+", "\u3000", text)

    text = one_line(title)
    place = one_line(location)
    if place:
        text += "（" + place + "）"
    # A "?" of the title stays as it is; only what has no code page 932 form becomes "？".
    data = b"".join(
        ch.encode("cp932", errors="replace").replace(b"?", "？".encode("cp932")) if ch != "?" else b"?" for ch in text)
    if len(data) > 1023:
        cut = 0
        while cut < len(data):
            step = 2 if (0x81 <= data[cut] <= 0x9F or 0xE0 <= data[cut] <= 0xFC) else 1
            if cut + step > 1023:
                break
            cut += step
        data = data[:cut]
    return data.decode("cp932")


def zone(tzid):
    name = WINDOWS_ZONES.get(tzid, tzid)
    while name:
        try:
            return pytz.timezone(name)
        except pytz.UnknownTimeZoneError:
            name = name.split("/", 2)[-1] if name.startswith("/") else name.partition("/")[2]
    return None


def local(value, tz=None):
    """A datetime as a naive local time: an aware one converted by the local zone's rules,
    a naive one in tz (or floating, as it stands)."""
    if value.tzinfo is None and tz is not None:
        value = tz.localize(value)
    return value.astimezone().replace(tzinfo=None) if value.tzinfo is not None else value


def moment(prop):
    """A property's value as a naive local datetime, or a date."""
    value = prop.dt
    if isinstance(value, list):
        value = value[0]
    if not isinstance(value, datetime.datetime):
        return value
    if "TZID" in prop.params:
        return local(value.replace(tzinfo=None), zone(prop.params["TZID"]))
    return local(value)


def show(value):
    if isinstance(value, datetime.datetime):
        return value.strftime("%Y-%m-%d %H:%M")
    return value.strftime("%Y-%m-%d")


def line(start, end, text):
    return "%s|%s|%s" % (show(start), show(end) if end is not None else "", text)


def whole_day_end(start, end):
    """The last day of whole days (the file's end is exclusive); None for a single day."""
    last = end - datetime.timedelta(days=1)
    return last if last > start else None


def export_entries(path, raw):
    cal = icalendar.Calendar.from_ical(open(path, "rb").read())
    out = []
    for ev in cal.walk("VEVENT"):
        assert ev.get("UID") and ev.get("DTSTAMP"), "every event has UID and DTSTAMP"
        start = moment(ev["DTSTART"])
        end = moment(ev["DTEND"]) if "DTEND" in ev else None
        if not isinstance(start, datetime.datetime):
            if end is not None:
                end = whole_day_end(start, end) if ev.get("X-NELO-END") != "DATE" else start
        else:
            if not raw and ev.get("X-NELO-START") == "DATE":
                start = start.date()
            if not raw and ev.get("X-NELO-END") == "DATE":
                end = (end - datetime.timedelta(minutes=1)).date()
        out.append(line(start, end, str(ev.get("SUMMARY", ""))))
    return out


def khal_entries(titles_only):
    out = set()
    for raw in sys.stdin.read().splitlines():
        if not raw.strip():
            continue
        start, end, title, location, status = (raw.split("|") + [""] * 5)[:5]
        if status.strip() == "CANCELLED":
            continue
        if titles_only:
            end = ""
        elif end == start and len(start) == 10:
            end = ""  # a single whole day
        out.add("%s|%s|%s" % (start, end, business(title, location)))
    return sorted(out)


def reference_entries(path, first, last):
    data = open(path, "rb").read()
    cal = icalendar.Calendar.from_ical(data)
    lo = datetime.datetime.combine(first, datetime.time())
    hi = datetime.datetime.combine(last, datetime.time())
    events = list(cal.walk("VEVENT"))
    moved = {}
    for ev in events:
        if "RECURRENCE-ID" in ev:
            moved.setdefault(str(ev["UID"]), set()).add(moment(ev["RECURRENCE-ID"]))
    cancelled = {str(ev["UID"]) for ev in events if "RECURRENCE-ID" not in ev and ev.get("STATUS") == "CANCELLED"}

    def in_window(t):
        if not isinstance(t, datetime.datetime):
            return first <= t < last
        return lo <= t < hi

    out = []
    for ev in events:
        if ev.get("STATUS") == "CANCELLED" or str(ev.get("UID")) in cancelled:
            continue
        start = moment(ev["DTSTART"])
        is_date = not isinstance(start, datetime.datetime)
        if "DTEND" in ev:
            length = moment(ev["DTEND"]) - start
        elif "DURATION" in ev:
            length = ev["DURATION"].dt
        else:
            length = None
        title = business(ev.get("SUMMARY", ""), ev.get("LOCATION", ""))

        def entry(s):
            if length is None:
                return line(s, None, title)
            return line(s, whole_day_end(s, s + length) if is_date else s + length, title)

        if "RRULE" not in ev:
            if "RECURRENCE-ID" not in ev or in_window(start):
                out.append(entry(start))
            continue
        # The rule in the event's own zone, so that a daylight saving change keeps the hour.
        prop = ev["DTSTART"]
        tz = zone(prop.params["TZID"]) if "TZID" in prop.params else None
        if tz is None and not is_date and prop.dt.tzinfo is not None:
            tz = pytz.utc
        naive = prop.dt if is_date else prop.dt.replace(tzinfo=None)
        if is_date:
            naive = datetime.datetime.combine(naive, datetime.time())
        rule = rrule.rrulestr(ev["RRULE"].to_ical().decode(), dtstart=naive, ignoretz=True, forceset=True)
        excluded = set()
        for ex in ev.get("EXDATE", []) if isinstance(ev.get("EXDATE"), list) else [ev.get("EXDATE")] if "EXDATE" in ev else []:
            for value in ex.dts:
                excluded.add(moment(value))
        n = 0
        for occ in rule:
            s = occ.date() if is_date else local(occ, tz)
            if (s >= last) if is_date else (s >= hi):
                break
            if not in_window(s) or s in excluded or s in moved.get(str(ev["UID"]), set()):
                continue
            out.append(entry(s))
            n += 1
            if n == MAX_OCCURRENCES:
                break
    return sorted(out)


def main():
    mode = sys.argv[1]
    if mode == "export":
        lines = sorted(export_entries(sys.argv[2], len(sys.argv) > 3 and sys.argv[3] == "raw"))
    elif mode == "khal":
        lines = khal_entries(len(sys.argv) > 2 and sys.argv[2] == "start")
    elif mode == "reference":
        first = datetime.date.fromisoformat(sys.argv[3])
        last = datetime.date.fromisoformat(sys.argv[4])
        lines = reference_entries(sys.argv[2], first, last)
    else:
        sys.exit("usage: entries.py export FILE [raw] | khal [start] | reference FILE FROM TO")
    for text in lines:
        print(text)


if __name__ == "__main__":
    main()
