#include "dates/WorkingDate.h"

#include "dates/DateWords.h"

namespace nelo {

namespace {

// More days, months or years than the years 1-9999 hold: such a move leaves the range
// whatever the base, and refusing it early keeps the arithmetic far from overflow.
constexpr long long kMaxDays = 3700000;
constexpr long long kMaxMonths = 12 * 10000;
constexpr long long kMaxYears = 10000;

void Fill(DateTimeRec& dt, const CalDate& d) {
    dt.year = d.year;
    dt.month = static_cast<short>(d.month);
    dt.day = static_cast<short>(d.day);
    dt.weekday = static_cast<short>(WeekdayOf(d));
    dt.dayOfYear = DayOfYear(d);
}

}  // namespace

const DateTimeRec& WorkingDate::Get() const {
    if (!m_set) {
        const std::tm now = Today();
        Fill(m_dt, CalDate{now.tm_year + 1900, now.tm_mon + 1, now.tm_mday});
        m_dt.hour = m_dt.minute = m_dt.second = kNoTime;
        m_set = true;
    }
    return m_dt;
}

CalDate WorkingDate::Date() const {
    const DateTimeRec& d = Get();
    return CalDate{d.year, d.month, d.day};
}

void WorkingDate::Set(const CalDate& date, int hour, int minute) {
    Fill(m_dt, date);
    m_dt.hour = static_cast<short>(hour);
    m_dt.minute = static_cast<short>(hour == kNoTime ? kNoTime : minute);
    m_dt.second = static_cast<short>(hour == kNoTime ? kNoTime : 0);
    m_set = true;
}

void WorkingDate::Reset() { m_set = false; }

bool WorkingDate::MoveTo(const CalDate& date) {
    if (!IsYearInRange(date.year)) return false;
    // The time of day stays as it was.
    Get();
    Fill(m_dt, date);
    return true;
}

bool WorkingDate::MoveDays(long long n) {
    if (n > kMaxDays || n < -kMaxDays) return false;
    return MoveTo(AddDays(Date(), n));
}

bool WorkingDate::MoveMonths(long long n) {
    if (n > kMaxMonths || n < -kMaxMonths) return false;
    return MoveTo(AddMonths(Date(), n));
}

bool WorkingDate::MoveYears(long long n) {
    if (n > kMaxYears || n < -kMaxYears) return false;
    return MoveTo(AddYears(Date(), n));
}

}  // namespace nelo
