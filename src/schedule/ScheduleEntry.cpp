#include "schedule/ScheduleEntry.h"

#include "platform/Clock.h"
#include "text/Decimal.h"
#include "text/Sjis.h"

namespace nelo {

namespace {

// The first n bytes of a text, or all of it when it is shorter.
std::string_view Left(const std::string& s, std::size_t n) { return std::string_view(s).substr(0, n); }

// The text from byte n on; empty when the text is shorter.
std::string_view From(const std::string& s, std::size_t n) {
    return n < s.size() ? std::string_view(s).substr(n) : std::string_view();
}

// A display text without its year when the year is the current one.
void AppendWithoutCurrentYear(std::string& text, const std::string& date, const std::string& year) {
    if (date.size() >= 4 && Left(date, 4) == year)
        text += From(date, 5);
    else
        text += date;
}

}  // namespace

std::string CurrentYearText() {
    // "%4d" without printf: blanks before fewer than four characters.
    std::string year;
    AppendDecimal(year, LocalNow().tm_year + 1900);
    if (year.size() < 4) year.insert(0, 4 - year.size(), ' ');
    return year;
}

void ScheduleEntry::Format(std::string& text, const std::string& year) const {
    text.clear();
    AppendWithoutCurrentYear(text, m_startText, year);
    if (!m_endText.empty()) {
        text += " ～ "_sj;
        // The first 14 bytes are year, month, day and the weekday in parentheses.
        if (Left(m_endText, 14) != Left(m_startText, 14))
            AppendWithoutCurrentYear(text, m_endText, year);
        else if (m_endText.size() > 15)
            text += From(m_endText, 15);
    }
    text += "　"_sj;
    text += m_business;
}

}  // namespace nelo
