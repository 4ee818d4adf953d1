// The writing side of the calendar exchange. An entry becomes an event whose times
// carry the user's time zone (TZID with the zone's VTIMEZONE), or UTC when the zone has
// no name other programs know; an entry without times is written as dates with an
// exclusive end. An entry whose start and end differ in having a time is written with
// times and marked with X-NELO-START or X-NELO-END, so that reading it back gives the
// same entry; other programs ignore the marks and see a timed event.
#include "calendar/ICalendar.h"

#include "calendar/ICalLib.h"
#include "calendar/ICalTimes.h"
#include "calendar/ICalUid.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "schedule/ScheduleBook.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace nelo {

const char* const kICalFileName = "ＮＥＬＯ予定.ics";

namespace {

// A display text "2003/06/02(月) 10:00" or "2003/06/02(月)" read back as a floating
// time or a date; hours of 24 and later (「２５時」) become the next day's. False when
// the text has no date.
bool ReadDisplay(const std::string& text, icaltimetype& t) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (std::sscanf(text.c_str(), "%d/%d/%d", &year, &month, &day) != 3 || month < 1 || month > 12 || day < 1 ||
        day > 31 || year < 1 || year > 9999)
        return false;
    // ')' is never the second byte of a double-byte character.
    const std::size_t close = text.find(')');
    const bool hasTime = close != std::string::npos &&
                         std::sscanf(text.c_str() + close + 1, " %d:%d", &hour, &minute) == 2 && hour >= 0 &&
                         minute >= 0 && hour < 10000 && minute < 10000;
    t = hasTime ? icaltime_null_time() : icaltime_null_date();
    t.year = year;
    t.month = month;
    t.day = day;
    if (hasTime) {
        t.hour = hour;
        t.minute = minute;
        t = icaltime_normalize(t);
    }
    return true;
}

// The floating local time of a time value.
icaltimetype FromTime(std::int32_t value) {
    const std::tm tm = LocalTime(value);
    icaltimetype t = icaltime_null_time();
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    return t;
}

icaltimetype MidnightOf(icaltimetype t) {
    t.is_date = 0;
    t.hour = t.minute = t.second = 0;
    return t;
}

icaltimetype NextDay(icaltimetype t) {
    icaltime_adjust(&t, 1, 0, 0, 0);
    return t;
}

// The text as a property may hold it: UTF-8 without control characters, which would
// be written raw (libical escapes line breaks only) and act on a terminal that shows
// the file. Each becomes a blank.
std::string PropertyText(const std::string& cp932, int& control) {
    std::string utf8 = Cp932ToUtf8(cp932).text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            utf8[i] = ' ';
            ++control;
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            utf8.replace(i, 2, " ");  // U+0080-U+009F
            ++control;
        }
    }
    return utf8;
}

class ICalWriter {
public:
    ICalWriter(const std::string& zoneName, std::time_t now) : m_zone(nullptr), m_zoneName(zoneName) {
        if (!zoneName.empty()) m_zone = FindSystemZone(zoneName);
        if (m_zone == icaltimezone_get_utc_timezone()) m_zone = nullptr;
        m_stamp = icaltime_from_timet_with_zone(now, 0, icaltimezone_get_utc_timezone());
    }

    // The zone's VTIMEZONE under the name the events use; with always and no zone, one
    // for UTC (a calendar holds at least one component).
    std::string Zone(bool always) const {
        if (!m_zone) return always ? UtcZone() : std::string();
        icalcomponent* source = icaltimezone_get_component(m_zone);
        if (!source) return always ? UtcZone() : std::string();
        ICalComponentPtr zone(icalcomponent_new_clone(source));
        icalproperty* tzidField = icalcomponent_get_first_property(zone.get(), ICAL_TZID_PROPERTY);
        if (tzidField)
            icalproperty_set_tzid(tzidField, m_zoneName.c_str());
        else
            icalcomponent_add_property(zone.get(), icalproperty_new_tzid(m_zoneName.c_str()));
        return ICalString(zone.get());
    }

    std::string Event(const ScheduleEntry& e, ICalUids& uids, int& control) const {
        icaltimetype start = icaltime_null_time(), end = icaltime_null_time();
        if (!ReadDisplay(e.GetStartText(), start)) start = FromTime(e.GetStartTime());
        const bool hasEnd = !e.GetEndText().empty();
        if (hasEnd && !ReadDisplay(e.GetEndText(), end)) end = FromTime(e.GetEndTime());

        ICalComponentPtr vevent(icalcomponent_new_vevent());
        icalcomponent* ev = vevent.get();
        icalcomponent_add_property(ev, icalproperty_new_uid(uids.Next(e).c_str()));
        icalcomponent_add_property(ev, icalproperty_new_dtstamp(m_stamp));
        const bool hasStartTime = !start.is_date;
        const bool hasEndTime = hasEnd && !end.is_date;
        if (!hasStartTime && !hasEndTime) {
            // Whole days; the end is the day after the last one.
            icalcomponent_add_property(ev, icalproperty_new_dtstart(start));
            icalcomponent_add_property(ev, icalproperty_new_dtend(NextDay(hasEnd ? end : start)));
            // An end on the start's own day would otherwise read back as no end.
            if (hasEnd && icaltime_compare_date_only(start, end) == 0) AddMark(ev, "X-NELO-END");
        } else {
            icalcomponent_add_property(ev, Timed(ICAL_DTSTART_PROPERTY, hasStartTime ? start : MidnightOf(start)));
            if (!hasStartTime) AddMark(ev, "X-NELO-START");
            if (hasEnd) {
                icalcomponent_add_property(ev, Timed(ICAL_DTEND_PROPERTY, hasEndTime ? end : MidnightOf(NextDay(end))));
                if (!hasEndTime) AddMark(ev, "X-NELO-END");
            }
        }
        icalcomponent_add_property(ev, icalproperty_new_summary(PropertyText(e.GetBusiness(), control).c_str()));
        return ICalString(ev);
    }

private:
    static void AddMark(icalcomponent* ev, const char* name) {
        icalproperty* p = icalproperty_new_x("DATE");
        icalproperty_set_x_name(p, name);
        icalcomponent_add_property(ev, p);
    }

    // DTSTART or DTEND of a floating local time put in the zone: its TZID, or as UTC.
    icalproperty* Timed(icalproperty_kind kind, icaltimetype t) const {
        if (!m_zone) {
            const std::time_t instant = MakeLocalTime(t.year, t.month, t.day, t.hour, t.minute, 0);
            t = icaltime_from_timet_with_zone(instant, 0, icaltimezone_get_utc_timezone());
        }
        icalproperty* p = kind == ICAL_DTEND_PROPERTY ? icalproperty_new_dtend(t) : icalproperty_new_dtstart(t);
        if (m_zone) icalproperty_add_parameter(p, icalparameter_new_tzid(m_zoneName.c_str()));
        return p;
    }

    static std::string UtcZone() {
        ICalComponentPtr zone(icalcomponent_new_vtimezone());
        icalcomponent_add_property(zone.get(), icalproperty_new_tzid("UTC"));
        icalcomponent* standard = icalcomponent_new_xstandard();
        icaltimetype start = icaltime_null_time();
        start.year = 1970;
        start.month = 1;
        start.day = 1;
        icalcomponent_add_property(standard, icalproperty_new_dtstart(start));
        icalcomponent_add_property(standard, icalproperty_new_tzoffsetfrom(0));
        icalcomponent_add_property(standard, icalproperty_new_tzoffsetto(0));
        icalcomponent_add_property(standard, icalproperty_new_tzname("UTC"));
        icalcomponent_add_component(zone.get(), standard);
        return ICalString(zone.get());
    }

    icaltimezone* m_zone;
    std::string m_zoneName;
    icaltimetype m_stamp;
};

}  // namespace

std::string SystemZoneName() {
    std::string name;
    if (const char* tz = std::getenv("TZ")) {
        name = tz;
        if (!name.empty() && name[0] == ':') name.erase(0, 1);
    } else {
        char link[4096];
        const ssize_t n = readlink("/etc/localtime", link, sizeof link - 1);
        if (n > 0) name.assign(link, static_cast<std::size_t>(n));
    }
    // A path into the zone folder names the zone after it.
    const std::size_t folder = name.find("zoneinfo/");
    if (folder != std::string::npos) name.erase(0, folder + 9);
    icaltimezone* zone = FindSystemZone(name);
    return zone && zone != icaltimezone_get_utc_timezone() ? name : std::string();
}

std::string FormatICalendar(const ScheduleBook& scheduleBook, std::time_t now, const std::string& zoneName,
                            ICalExportNotes* notes) {
    UseICalQuietly();
    const ICalWriter writer(zoneName, now);
    const std::vector<const ScheduleEntry*> entries = ExportOrder(scheduleBook);
    std::string out = "BEGIN:VCALENDAR\r\n";
    for (icalproperty* p : {icalproperty_new_version("2.0"), icalproperty_new_prodid("-//Nelo//Nelo schedules//JA"),
                            icalproperty_new_calscale("GREGORIAN")}) {
        out += ICalString(p);
        icalproperty_free(p);
    }
    out += writer.Zone(entries.empty());
    ICalUids uids;
    int control = 0;
    for (const ScheduleEntry* e : entries) out += writer.Event(*e, uids, control);
    out += "END:VCALENDAR\r\n";
    if (notes) notes->control = control;
    return out;
}

}  // namespace nelo
