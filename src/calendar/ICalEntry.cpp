#include "calendar/ICalEntry.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "schedule/ScheduleEntry.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cstdint>
#include <cstdio>
#include <limits>

namespace nelo {

namespace {

// The weekday names of the entries' display texts, from Sunday.
const char* const kWeekdays[7] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};

constexpr const char* kFullBlank = "\xE3\x80\x80";  // U+3000

// Appends text with every run of blanks and control characters as one full-width blank
// between words.
void AppendOneLine(std::string& out, const char* text) {
    bool blank = false;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c <= 0x20 || c == 0x7F) {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += kFullBlank;
        blank = false;
        out += *p;
    }
}

// The display text of a local date and time, as the schedule writes a typed entry's.
bool DateText(const ICalLocal& d, std::string& text, std::int32_t& t, std::string& error) {
    const std::time_t value =
        MakeLocalTime(d.year, d.month, d.day, d.hour < 0 ? 0 : d.hour, d.hour < 0 ? 0 : d.minute, 0);
    if (value == static_cast<std::time_t>(-1) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d/%02d/%02d", d.year, d.month, d.day);
        error = "日付「"_sj + std::string(buf) + "」は予定に記録できる範囲（1901年～2038年1月）の外です。"_sj;
        return false;
    }
    t = static_cast<std::int32_t>(value);
    const std::tm tm = LocalTime(value);
    char buf[96];
    if (d.hour < 0)
        std::snprintf(buf, sizeof buf, "%d/%02d/%02d(%s)", d.year, d.month, d.day, kWeekdays[tm.tm_wday % 7]);
    else
        std::snprintf(buf, sizeof buf, "%d/%02d/%02d(%s) %02d:%02d", d.year, d.month, d.day, kWeekdays[tm.tm_wday % 7],
                      d.hour, d.minute);
    text = buf;
    return true;
}

}  // namespace

ICalBusiness MakeICalBusiness(const char* summary, const char* location) {
    std::string utf8;
    if (summary) AppendOneLine(utf8, summary);
    ICalBusiness business;
    if (utf8.empty()) return business;
    std::string place;
    if (location) AppendOneLine(place, location);
    if (!place.empty()) utf8 += "\xEF\xBC\x88" + place + "\xEF\xBC\x89";  // （ ）
    const CodePageResult cp932 = Utf8ToCp932(utf8);
    business.replacedCount = cp932.replacedCount;
    business.text = cp932.text;
    if (business.text.size() > kICalMaxBusinessBytes) {
        // Cut before a character that would not fit whole.
        std::size_t cut = 0;
        while (cut < business.text.size()) {
            const std::size_t next = cut + (DbcsAt(business.text, cut) ? 2 : 1);
            if (next > kICalMaxBusinessBytes) break;
            cut = next;
        }
        business.text.resize(cut);
        business.wasCut = true;
    }
    return business;
}

bool MakeICalEntry(const ICalOccurrence& occurrence, const std::string& business, ScheduleEntry& entry,
                   std::string& error) {
    std::string startText;
    std::int32_t startTime = 0;
    if (!DateText(occurrence.start, startText, startTime, error)) return false;
    std::string endText;
    std::int32_t endTime = startTime;
    if (occurrence.end.year != 0 && !DateText(occurrence.end, endText, endTime, error)) return false;
    entry = ScheduleEntry(startTime, endTime, std::move(startText), std::move(endText), business);
    return true;
}

std::string QuotedBusiness(const std::string& business) {
    std::string b = business;
    if (b.size() > 40) {
        std::size_t cut = 0;
        while (cut < 40) cut += DbcsAt(b, cut) ? 2U : 1U;
        b = b.substr(0, cut) + "…"_sj;
    }
    return "「"_sj + b + "」"_sj;
}

}  // namespace nelo
