#include "dates/DateText.h"

#include "dates/DateWords.h"
#include "platform/Clock.h"
#include "text/Decimal.h"

namespace nelo {

int FormatEntryDate(std::string& display, const CalDate& d, int hour, int minute, std::time_t& time) {
    display.clear();
    AppendDecimal(display, d.year);
    display.push_back('/');
    AppendDecimal2(display, d.month);
    display.push_back('/');
    AppendDecimal2(display, d.day);
    display.push_back('(');
    display.append(kWeekdayNames[WeekdayOf(d)], 2);
    display.push_back(')');
    if (hour >= 0) {
        display.push_back(' ');
        AppendDecimal2(display, hour);
        display.push_back(':');
        AppendDecimal2(display, minute);
    } else {
        hour = minute = 0;
    }
    const int thisYear = Today().tm_year + 1900;
    if (!(thisYear - 11 < d.year && d.year < thisYear + 11)) return 0;
    time = MakeLocalTime(d.year, d.month, d.day, hour, minute, 0);
    return 1;
}

}  // namespace nelo
