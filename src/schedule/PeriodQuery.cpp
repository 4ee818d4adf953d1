#include "schedule/PeriodQuery.h"

#include "dates/DateParser.h"
#include "dates/DateTimeRec.h"
#include "platform/Clock.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cstdio>
#include <string_view>

namespace {

// The words a query names its period by, for the routing (the command processor reads
// any date phrase).
constexpr const char* kPeriodWords[] = {
    "今日"_sj,   "本日"_sj, "明日"_sj,   "明後日"_sj, "昨日"_sj, "一昨日"_sj, "今週"_sj, "来週"_sj,
    "再来週"_sj, "先週"_sj, "先々週"_sj, "今月"_sj,   "来月"_sj, "再来月"_sj, "先月"_sj, "先々月"_sj,
};

bool IsPeriodWord(std::string_view word) {
    for (const char* w : kPeriodWords)
        if (word == w) return true;
    return false;
}

// "2003/06/08 00:00" as seconds, the given second added.
bool BoundTime(const std::string& text, int second, std::time_t& t) {
    int y = 0, m = 0, d = 0, hh = 0, mm = 0;
    if (std::sscanf(text.c_str(), "%d/%d/%d %d:%d", &y, &m, &d, &hh, &mm) != 5) return false;
    t = MakeLocalTime(y, m, d, hh, mm, second);
    return t != static_cast<std::time_t>(-1);
}

bool IsBlankAt(std::string_view text, std::size_t i) {
    return text[i] == ' ' || text[i] == '\t' || (i + 1 < text.size() && DbcsCode(text.data() + i) == 0x8140);
}

}  // namespace

int ReadSchedulePeriod(const std::string& word, SchedulePeriod& period) {
    const DateTimeRec saved = g_dtWork;
    int found = 0;
    std::string start, end;
    if (GetPeriodRange(start, end, word)) {
        found = BoundTime(start, 0, period.tFrom) && BoundTime(end, 59, period.tTo) ? 1 : -1;
    } else {
        std::string result;
        if (ParseDatePhrase(result, word) == 1) {
            const DateTimeRec& d = g_dtWork;
            period.tFrom = MakeLocalTime(d.year, d.month, d.day, 0, 0, 0);
            period.tTo = MakeLocalTime(d.year, d.month, d.day, 23, 59, 59);
            found = period.tFrom != static_cast<std::time_t>(-1) && period.tTo != static_cast<std::time_t>(-1) ? 1 : -1;
        } else if (result == BadPeriodText()) {
            found = -1;
        }
    }
    g_dtWork = saved;
    AdjustMonthTable(saved.year);
    return found;
}

bool SplitPeriodQuery(const std::string& word, std::string& period) {
    static const std::string_view kTail = "の予定"_sj;
    if (word.size() <= kTail.size() || word.compare(word.size() - kTail.size(), kTail.size(), kTail) != 0) return false;
    period.assign(word, 0, word.size() - kTail.size());
    // The tail must start at a character boundary of the word.
    std::size_t i = 0;
    while (i < period.size()) i += IsLeadByte(static_cast<unsigned char>(period[i])) ? 2 : 1;
    return i == period.size();
}

bool IsScheduleQueryText(const std::string& text) {
    static const std::string_view kQuery = "予定"_sj;
    if (text == kQuery) return true;
    std::string period;
    if (SplitPeriodQuery(text, period)) return IsPeriodWord(period);
    if (text.compare(0, kQuery.size(), kQuery) != 0) return false;
    std::string_view rest = std::string_view(text).substr(kQuery.size());
    if (rest.empty() || !IsBlankAt(rest, 0)) return false;
    while (!rest.empty() && IsBlankAt(rest, 0)) rest.remove_prefix(rest[0] == ' ' || rest[0] == '\t' ? 1 : 2);
    // One more word only.
    for (std::size_t i = 0; i < rest.size();) {
        if (IsBlankAt(rest, i)) return false;
        i += IsLeadByte(static_cast<unsigned char>(rest[i])) ? 2 : 1;
    }
    return !rest.empty() && (IsPeriodWord(rest) || HasFullDigit(rest));
}
