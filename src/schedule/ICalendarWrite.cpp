// The writing side of the calendar exchange. An entry becomes an event with local
// ("floating") times, or with dates and an exclusive end for an entry without times.
// An entry whose start and end differ in having a time is written with times and marked
// with X-NELO-START or X-NELO-END, so that reading it back gives the same entry; other
// programs ignore the marks and see a timed event.
#include "schedule/ICalendar.h"

#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "schedule/CmdPro.h"
#include "schedule/ICalendarParse.h"
#include "text/Sjis.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

const char* const g_szICalFileName = "ＮＥＬＯ予定.ics";

namespace {

// A display text "2003/06/02(月) 10:00" or "2003/06/02(月)" read back; false when the
// text has no date.
bool ReadDisplay(const std::string& text, ICalLocal& local) {
    local = ICalLocal{};
    if (std::sscanf(text.c_str(), "%d/%d/%d", &local.year, &local.month, &local.day) != 3) return false;
    // ')' is never the second byte of a double-byte character.
    const std::size_t close = text.find(')');
    int hour = 0, minute = 0;
    if (close != std::string::npos && std::sscanf(text.c_str() + close + 1, " %d:%d", &hour, &minute) == 2) {
        local.hour = hour;
        local.minute = minute;
    }
    return local.month >= 1 && local.month <= 12 && local.day >= 1 && local.day <= 31;
}

ICalLocal FromTime(std::int32_t t, bool bTime) {
    const std::tm tm = LocalTime(t);
    return ICalLocal{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, bTime ? tm.tm_hour : -1, bTime ? tm.tm_min : 0};
}

ICalLocal NextDay(ICalLocal d) {
    CivilFromDays(DaysFromCivil(d.year, d.month, d.day) + 1, d.year, d.month, d.day);
    return d;
}

std::string DateText(const ICalLocal& d) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

std::string DateTimeText(const ICalLocal& d) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d00", d.year, d.month, d.day, d.hour < 0 ? 0 : d.hour,
                  d.minute);
    return buf;
}

// The TEXT escapes: backslash, semicolon, comma and line breaks (on UTF-8, where none
// of them can be part of a longer character).
std::string EscapeText(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        if (c == '\\' || c == ';' || c == ',')
            out += '\\', out += c;
        else if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

// Appends a content line folded at 75 bytes, never inside a UTF-8 character; every
// continuation line starts with a blank.
void AppendFolded(std::string& out, const std::string& line) {
    std::size_t pos = 0;
    std::size_t room = 75;
    while (line.size() - pos > room) {
        std::size_t cut = pos + room;
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line, pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = 74;
    }
    out.append(line, pos, std::string::npos);
    out += "\r\n";
}

// An identifier that stays the same for the same entry from one export to the next.
std::string EntryUid(const CSchedule& e, std::map<std::uint64_t, int>& seen) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const std::string& s) {
        for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
        h = (h ^ 0x1F) * 1099511628211ull;
    };
    mix(e.m_strStart);
    mix(e.m_strEnd);
    mix(e.m_strBusiness);
    char buf[64];
    const int n = ++seen[h];
    // Identical entries are told apart by their number among themselves.
    if (n == 1)
        std::snprintf(buf, sizeof buf, "%016llx@nelo.invalid", static_cast<unsigned long long>(h));
    else
        std::snprintf(buf, sizeof buf, "%016llx-%d@nelo.invalid", static_cast<unsigned long long>(h), n);
    return buf;
}

void AppendEvent(std::string& out, const CSchedule& e, const std::string& stamp, std::map<std::uint64_t, int>& seen) {
    ICalLocal start, end;
    if (!ReadDisplay(e.m_strStart, start)) start = FromTime(e.m_tStart, true);
    const bool bEnd = !e.m_strEnd.empty();
    if (bEnd && !ReadDisplay(e.m_strEnd, end)) end = FromTime(e.m_tEnd, true);

    AppendFolded(out, "BEGIN:VEVENT");
    AppendFolded(out, "UID:" + EntryUid(e, seen));
    AppendFolded(out, "DTSTAMP:" + stamp);
    const bool bStartTime = start.hour >= 0;
    const bool bEndTime = bEnd && end.hour >= 0;
    if (!bStartTime && !bEndTime) {
        // Whole days; the end is the day after the last one.
        AppendFolded(out, "DTSTART;VALUE=DATE:" + DateText(start));
        const ICalLocal last = bEnd ? end : start;
        AppendFolded(out, "DTEND;VALUE=DATE:" + DateText(NextDay(last)));
        // An end on the start's own day would otherwise read back as no end.
        if (bEnd && DateText(end) == DateText(start)) AppendFolded(out, "X-NELO-END:DATE");
    } else {
        AppendFolded(out, "DTSTART:" + DateTimeText(start));
        if (!bStartTime) AppendFolded(out, "X-NELO-START:DATE");
        if (bEnd) {
            AppendFolded(out, "DTEND:" + DateTimeText(bEndTime ? end : NextDay(end)));
            if (!bEndTime) AppendFolded(out, "X-NELO-END:DATE");
        }
    }
    AppendFolded(out, "SUMMARY:" + EscapeText(Cp932ToUtf8(e.m_strBusiness).text));
    AppendFolded(out, "END:VEVENT");
}

}  // namespace

std::string FormatICalendar(const CCmdPro& cmdPro, std::time_t now) {
    std::vector<const CSchedule*> entries;
    entries.reserve(cmdPro.GetSchedules().size());
    for (const auto& p : cmdPro.GetSchedules()) entries.push_back(p.get());
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CSchedule* a, const CSchedule* b) { return a->m_tStart < b->m_tStart; });

    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02dT%02d%02d%02dZ", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                  utc.tm_hour, utc.tm_min, utc.tm_sec);

    std::string out;
    AppendFolded(out, "BEGIN:VCALENDAR");
    AppendFolded(out, "VERSION:2.0");
    AppendFolded(out, "PRODID:-//Nelo//Nelo schedules//JA");
    AppendFolded(out, "CALSCALE:GREGORIAN");
    std::map<std::uint64_t, int> seen;
    for (const CSchedule* e : entries) AppendEvent(out, *e, stamp, seen);
    AppendFolded(out, "END:VCALENDAR");
    return out;
}

bool ExportICalendarFile(const CCmdPro& cmdPro, const std::string& path, const std::string& nameText,
                         std::string& answer) {
    std::string error;
    if (!WriteFileAtomically(path, FormatICalendar(cmdPro, CurrentClock().Now()), error)) {
        answer = nameText + "ファイルを書き出せませんでした。"_sj + "(" + Utf8ToCp932(error).text + ")";
        return false;
    }
    answer = nameText + "に予定を "_sj + std::to_string(cmdPro.GetSchedules().size()) + " 件書き出しました。"_sj;
    return true;
}
