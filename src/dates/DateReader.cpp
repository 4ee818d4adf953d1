#include "dates/DateReader.h"

#include "dates/DateWords.h"

namespace nelo {

namespace {

// Beyond these a count leaves the years 1-9999 from any today; refusing them early keeps
// the arithmetic far from overflow.
constexpr long long kMaxDays = 3700000;
constexpr long long kMaxMonths = 12 * 10000;
constexpr long long kMaxYears = 10000;
constexpr long long kMaxMinutes = kMaxDays * 1440;
// A 29 February comes back within eight years.
constexpr int kYearTries = 9;

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Sunday of the week (Sunday to Saturday) that holds the day.
CalDate WeekStart(const CalDate& d) { return AddDays(d, -WeekdayOf(d)); }

// The first such weekday on or after the day.
CalDate OnOrAfter(const CalDate& d, int weekday) { return AddDays(d, (weekday - WeekdayOf(d) + 7) % 7); }

// The n-th such weekday of a month, or an invalid date (day 0) when it has none.
CalDate NthWeekday(int year, int month, int n, int weekday) {
    const CalDate first{year, month, 1};
    const int day = 1 + (weekday - WeekdayOf(first) + 7) % 7 + 7 * (n - 1);
    if (n < 1 || day > MonthLength(year, month)) return CalDate{year, month, 0};
    return CalDate{year, month, day};
}

class DateResolver {
public:
    DateResolver(const PhraseForm& form, const PhraseContext& ctx) : m_form(form), m_context(ctx) {}

    DateReading Resolve() {
        if (m_form.status == PhraseStatus::NotADate) return m_reading;
        if (m_form.status == PhraseStatus::Refused) {
            m_reading.outcome = ReadOutcome::Refused;
            m_reading.refusal = m_form.refusal;
            return m_reading;
        }
        m_reading.outcome = ReadOutcome::Read;
        if (m_form.hasTime && !TimeOfDay()) return Impossible();
        if (!Day()) return Impossible();
        if (!IsYearInRange(m_reading.date.year) || !IsYearInRange(m_reading.last.year)) return Impossible();
        if (m_form.annotatedWeekday >= 0 && WeekdayOf(m_reading.date) != m_form.annotatedWeekday) {
            m_reading.outcome = ReadOutcome::Refused;
            m_reading.refusal = PhraseRefusal::WeekdayDiffers;
            m_reading.annotatedWeekday = m_form.annotatedWeekday;
        }
        return m_reading;
    }

private:
    DateReading Impossible() {
        m_reading.outcome = ReadOutcome::Impossible;
        return m_reading;
    }

    // 午後３時 is 15:00 and 午後１２時 24:00; 昼１２時 is noon; 午後１５時 stays 15:00.
    // Hours run on past midnight (「２５時」) up to the next day's end.
    bool TimeOfDay() {
        int hour = m_form.hour;
        if (m_form.timeWord == Afternoon && hour <= 12) hour += 12;
        if (m_form.timeWord == Daytime && hour < 12) hour += 12;
        if (hour > 47 || m_form.minute > 59) return false;
        m_reading.hour = hour;
        m_reading.minute = m_form.minute;
        return true;
    }

    void SetDay(const CalDate& d) { m_reading.date = m_reading.last = d; }
    void SetPeriod(ReadPrecision p, const CalDate& first, const CalDate& last) {
        m_reading.precision = p;
        m_reading.date = first;
        m_reading.last = last;
    }

    bool Day() {
        switch (m_form.day) {
        case DayForm::None:
            if (!m_form.hasTimeOffset) {
                SetDay(m_context.timeDay);
                return true;
            } else {
                if (m_form.minutes > kMaxMinutes || m_form.minutes < -kMaxMinutes) return false;
                const long long total = m_context.nowMinutes + m_form.minutes;
                const long long days = FloorDiv(total, 1440);
                const long long inDay = total - days * 1440;
                SetDay(AddDays(m_context.today, days));
                m_reading.hour = static_cast<int>(inDay / 60);
                m_reading.minute = static_cast<int>(inDay % 60);
                return true;
            }
        case DayForm::FromToday: SetDay(AddDays(m_context.today, m_form.count)); return true;
        case DayForm::Following:
            SetDay(AddDays(m_context.hasPrevious ? m_context.previous : m_context.today, m_form.count));
            return true;
        case DayForm::Offset: return Offset();
        case DayForm::Week: {
            const CalDate sunday = AddDays(WeekStart(m_context.today), 7 * m_form.count);
            SetPeriod(ReadPrecision::Week, sunday, AddDays(sunday, 6));
            return true;
        }
        case DayForm::WeekDay:
            SetDay(AddDays(WeekStart(m_context.today), 7 * m_form.count + m_form.weekday));
            return true;
        case DayForm::Weekday: {
            const CalDate from = m_context.hasEnd && m_context.hasPrevious ? m_context.previous : m_context.today;
            SetDay(OnOrAfter(m_form.strict ? AddDays(from, 1) : from, m_form.weekday));
            return true;
        }
        case DayForm::Calendar: return Calendar();
        case DayForm::Duration: return Duration();
        }
        return false;
    }

    // 「明日から３日間」 ends on the third day; 「１０時から２時間」 two hours after 10:00.
    bool Duration() {
        if (!m_context.hasPrevious) return false;
        if (m_form.count > 0) {
            if (m_form.count > kMaxDays) return false;
            SetDay(AddDays(m_context.previous, m_form.count - 1));
            return true;
        }
        if (m_form.minutes <= 0 || m_context.previousMinutes < 0 || m_form.minutes > kMaxMinutes) return false;
        const long long total = m_context.previousMinutes + m_form.minutes;
        const long long days = total / 1440;
        SetDay(AddDays(m_context.previous, days));
        m_reading.hour = static_cast<int>(total % 1440 / 60);
        m_reading.minute = static_cast<int>(total % 60);
        return true;
    }

    bool Offset() {
        const long long n = m_form.count;
        CalDate d;
        switch (m_form.unit) {
        case OffsetUnit::Days:
            if (n > kMaxDays || n < -kMaxDays) return false;
            d = AddDays(m_context.today, n);
            break;
        case OffsetUnit::Weeks:
            if (7 * n > kMaxDays || 7 * n < -kMaxDays) return false;
            // 「２週間後の月曜」 is the Monday of the week two weeks from this one.
            d = m_form.weekday >= 0 ? AddDays(WeekStart(m_context.today), 7 * n + m_form.weekday)
                                    : AddDays(m_context.today, 7 * n);
            SetDay(d);
            return true;
        case OffsetUnit::Months:
            if (n > kMaxMonths || n < -kMaxMonths) return false;
            d = AddMonths(m_context.today, n);
            break;
        case OffsetUnit::Years:
            if (n > kMaxYears || n < -kMaxYears) return false;
            d = AddYears(m_context.today, n);
            break;
        }
        // 「３日後の金曜」: the first Friday on or after that day.
        SetDay(m_form.weekday >= 0 ? OnOrAfter(d, m_form.weekday) : d);
        return true;
    }

    // The day of (year, month) the phrase asks for; day 0 when the month has none.
    CalDate DayIn(int year, int month) const {
        switch (m_form.dayPart) {
        case DayPart::Ordinal: return NthWeekday(year, month, m_form.dayNumber, m_form.weekday);
        case DayPart::Last: return CalDate{year, month, MonthLength(year, month)};
        default: return CalDate{year, month, m_form.dayNumber};
        }
    }

    bool Calendar() {
        int year = 0;
        bool hasYear = true;
        switch (m_form.yearSource) {
        case PartSource::Word: year = m_context.today.year + m_form.year; break;
        case PartSource::Number:
            year = m_form.year < 100 ? m_form.year + m_context.today.year / 100 * 100 : m_form.year;
            break;
        case PartSource::Era:
            if (m_form.year == 0) return false;
            year = m_form.year + m_form.era;
            break;
        case PartSource::None: hasYear = false; break;
        }
        if (!hasYear && m_form.monthSource != PartSource::Word) return Yearless();

        int month;
        if (m_form.monthSource == PartSource::Word) {
            const CalDate m = AddMonths(CalDate{m_context.today.year, m_context.today.month, 1}, m_form.month);
            year = m.year;
            month = m.month;
        } else if (m_form.monthSource == PartSource::Number) {
            month = m_form.month;
        } else if (m_form.dayPart == DayPart::None) {
            SetPeriod(ReadPrecision::Year, CalDate{year, 1, 1}, CalDate{year, 12, 31});
            return true;
        } else {
            month = m_context.today.month;  // 「去年５日」
        }
        if (month < 1 || month > 12 || !IsYearInRange(year)) return false;
        if (m_form.dayPart == DayPart::None) {
            SetPeriod(ReadPrecision::Month, CalDate{year, month, 1}, CalDate{year, month, MonthLength(year, month)});
            return true;
        }
        const CalDate d = DayIn(year, month);
        if (!IsValidDate(d)) return false;
        SetDay(d);
        return true;
    }

    // A month (and day) without a year, or a day without its month: this year's (this
    // month's), or with `ahead` the first such date on or after it.
    bool Yearless() {
        if (m_form.monthSource == PartSource::None) return DayOnly();
        const int month = m_form.month;
        if (month < 1 || month > 12) return false;
        m_reading.yearless = true;
        const int from = m_context.hasAhead ? m_context.ahead.year : m_context.today.year;
        const int tries = m_context.hasAhead ? kYearTries : 1;
        for (int k = 0; k < tries; ++k) {
            const int year = from + k;
            if (m_form.dayPart == DayPart::None) {
                const CalDate last{year, month, MonthLength(year, month)};
                if (m_context.hasAhead && last < m_context.ahead) continue;
                SetPeriod(ReadPrecision::Month, CalDate{year, month, 1}, last);
                return true;
            }
            const CalDate d = DayIn(year, month);
            if (!IsValidDate(d) || (m_context.hasAhead && d < m_context.ahead)) continue;
            SetDay(d);
            return true;
        }
        return false;
    }

    // 「１５日」: this month's; with `ahead`, the next month that has it when this month's
    // lies before (an end looks one month on only).
    bool DayOnly() {
        m_reading.dayOnly = true;
        const CalDate base = m_context.hasAhead ? m_context.ahead : m_context.today;
        CalDate d{base.year, base.month, m_form.dayNumber};
        if (!IsValidDate(d)) return false;
        if (!m_context.hasAhead || m_context.ahead <= d) {
            SetDay(d);
            return true;
        }
        const int tries = m_context.hasEnd ? 1 : 12;
        CalDate month{base.year, base.month, 1};
        for (int k = 0; k < tries; ++k) {
            month = AddMonths(month, 1);
            d = CalDate{month.year, month.month, m_form.dayNumber};
            if (IsValidDate(d)) {
                SetDay(d);
                return true;
            }
        }
        return false;
    }

    const PhraseForm& m_form;
    const PhraseContext& m_context;
    DateReading m_reading;
};

}  // namespace

PhraseContext PhraseContext::Now() {
    const std::tm now = Today();
    PhraseContext c;
    c.today = CalDate{now.tm_year + 1900, now.tm_mon + 1, now.tm_mday};
    c.nowMinutes = now.tm_hour * 60 + now.tm_min;
    c.timeDay = c.today;
    return c;
}

DateReading ResolvePhrase(const PhraseForm& form, const PhraseContext& ctx) {
    return DateResolver(form, ctx).Resolve();
}

DateReading ReadDatePhrase(std::string_view phrase, const PhraseContext& ctx, bool bareIsDay) {
    PhraseTokens tokens;
    if (phrase.empty() || !LexPhrase(phrase, tokens)) return DateReading{};
    return ResolvePhrase(ParsePhraseTokens(tokens, 0, tokens.n, bareIsDay), ctx);
}

}  // namespace nelo
