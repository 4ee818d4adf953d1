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
    DateResolver(const PhraseForm& form, const PhraseContext& ctx) : f(form), c(ctx) {}

    DateReading Resolve() {
        if (f.status == PhraseStatus::NotADate) return r;
        if (f.status == PhraseStatus::Refused) {
            r.outcome = ReadOutcome::Refused;
            r.refusal = f.refusal;
            return r;
        }
        r.outcome = ReadOutcome::Read;
        if (f.hasTime && !TimeOfDay()) return Impossible();
        if (!Day()) return Impossible();
        if (!IsYearInRange(r.date.year) || !IsYearInRange(r.last.year)) return Impossible();
        if (f.annotatedWeekday >= 0 && WeekdayOf(r.date) != f.annotatedWeekday) {
            r.outcome = ReadOutcome::Refused;
            r.refusal = PhraseRefusal::WeekdayDiffers;
            r.annotatedWeekday = f.annotatedWeekday;
        }
        return r;
    }

private:
    DateReading Impossible() {
        r.outcome = ReadOutcome::Impossible;
        return r;
    }

    // 午後３時 is 15:00 and 午後１２時 24:00; 昼１２時 is noon; 午後１５時 stays 15:00.
    // Hours run on past midnight (「２５時」) up to the next day's end.
    bool TimeOfDay() {
        int hour = f.hour;
        if (f.timeWord == kAfternoon && hour <= 12) hour += 12;
        if (f.timeWord == kDaytime && hour < 12) hour += 12;
        if (hour > 47 || f.minute > 59) return false;
        r.hour = hour;
        r.minute = f.minute;
        return true;
    }

    void SetDay(const CalDate& d) { r.date = r.last = d; }
    void SetPeriod(ReadPrecision p, const CalDate& first, const CalDate& last) {
        r.precision = p;
        r.date = first;
        r.last = last;
    }

    bool Day() {
        switch (f.day) {
        case DayForm::None:
            if (!f.hasTimeOffset) {
                SetDay(c.timeDay);
                return true;
            } else {
                if (f.minutes > kMaxMinutes || f.minutes < -kMaxMinutes) return false;
                const long long total = c.nowMinutes + f.minutes;
                const long long days = FloorDiv(total, 1440);
                const long long inDay = total - days * 1440;
                SetDay(AddDays(c.today, days));
                r.hour = static_cast<int>(inDay / 60);
                r.minute = static_cast<int>(inDay % 60);
                return true;
            }
        case DayForm::FromToday: SetDay(AddDays(c.today, f.count)); return true;
        case DayForm::Following: SetDay(AddDays(c.hasPrevious ? c.previous : c.today, f.count)); return true;
        case DayForm::Offset: return Offset();
        case DayForm::Week: {
            const CalDate sunday = AddDays(WeekStart(c.today), 7 * f.count);
            SetPeriod(ReadPrecision::Week, sunday, AddDays(sunday, 6));
            return true;
        }
        case DayForm::WeekDay: SetDay(AddDays(WeekStart(c.today), 7 * f.count + f.weekday)); return true;
        case DayForm::Weekday: {
            const CalDate from = c.hasEnd && c.hasPrevious ? c.previous : c.today;
            SetDay(OnOrAfter(f.strict ? AddDays(from, 1) : from, f.weekday));
            return true;
        }
        case DayForm::Calendar: return Calendar();
        case DayForm::Duration: return Duration();
        }
        return false;
    }

    // 「明日から３日間」 ends on the third day; 「１０時から２時間」 two hours after 10:00.
    bool Duration() {
        if (!c.hasPrevious) return false;
        if (f.count > 0) {
            if (f.count > kMaxDays) return false;
            SetDay(AddDays(c.previous, f.count - 1));
            return true;
        }
        if (f.minutes <= 0 || c.previousMinutes < 0 || f.minutes > kMaxMinutes) return false;
        const long long total = c.previousMinutes + f.minutes;
        const long long days = total / 1440;
        SetDay(AddDays(c.previous, days));
        r.hour = static_cast<int>(total % 1440 / 60);
        r.minute = static_cast<int>(total % 60);
        return true;
    }

    bool Offset() {
        const long long n = f.count;
        CalDate d;
        switch (f.unit) {
        case OffsetUnit::Days:
            if (n > kMaxDays || n < -kMaxDays) return false;
            d = AddDays(c.today, n);
            break;
        case OffsetUnit::Weeks:
            if (7 * n > kMaxDays || 7 * n < -kMaxDays) return false;
            // 「２週間後の月曜」 is the Monday of the week two weeks from this one.
            d = f.weekday >= 0 ? AddDays(WeekStart(c.today), 7 * n + f.weekday) : AddDays(c.today, 7 * n);
            SetDay(d);
            return true;
        case OffsetUnit::Months:
            if (n > kMaxMonths || n < -kMaxMonths) return false;
            d = AddMonths(c.today, n);
            break;
        case OffsetUnit::Years:
            if (n > kMaxYears || n < -kMaxYears) return false;
            d = AddYears(c.today, n);
            break;
        }
        // 「３日後の金曜」: the first Friday on or after that day.
        SetDay(f.weekday >= 0 ? OnOrAfter(d, f.weekday) : d);
        return true;
    }

    // The day of (year, month) the phrase asks for; day 0 when the month has none.
    CalDate DayIn(int year, int month) const {
        switch (f.dayPart) {
        case DayPart::Ordinal: return NthWeekday(year, month, f.dayNumber, f.weekday);
        case DayPart::Last: return CalDate{year, month, MonthLength(year, month)};
        default: return CalDate{year, month, f.dayNumber};
        }
    }

    bool Calendar() {
        int year = 0;
        bool hasYear = true;
        switch (f.yearSource) {
        case PartSource::Word: year = c.today.year + f.year; break;
        case PartSource::Number: year = f.year < 100 ? f.year + c.today.year / 100 * 100 : f.year; break;
        case PartSource::Era:
            if (f.year == 0) return false;
            year = f.year + f.era;
            break;
        case PartSource::None: hasYear = false; break;
        }
        if (!hasYear && f.monthSource != PartSource::Word) return Yearless();

        int month;
        if (f.monthSource == PartSource::Word) {
            const CalDate m = AddMonths(CalDate{c.today.year, c.today.month, 1}, f.month);
            year = m.year;
            month = m.month;
        } else if (f.monthSource == PartSource::Number) {
            month = f.month;
        } else if (f.dayPart == DayPart::None) {
            SetPeriod(ReadPrecision::Year, CalDate{year, 1, 1}, CalDate{year, 12, 31});
            return true;
        } else {
            month = c.today.month;  // 「去年５日」
        }
        if (month < 1 || month > 12 || !IsYearInRange(year)) return false;
        if (f.dayPart == DayPart::None) {
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
        if (f.monthSource == PartSource::None) return DayOnly();
        const int month = f.month;
        if (month < 1 || month > 12) return false;
        r.yearless = true;
        const int from = c.hasAhead ? c.ahead.year : c.today.year;
        const int tries = c.hasAhead ? kYearTries : 1;
        for (int k = 0; k < tries; ++k) {
            const int year = from + k;
            if (f.dayPart == DayPart::None) {
                const CalDate last{year, month, MonthLength(year, month)};
                if (c.hasAhead && last < c.ahead) continue;
                SetPeriod(ReadPrecision::Month, CalDate{year, month, 1}, last);
                return true;
            }
            const CalDate d = DayIn(year, month);
            if (!IsValidDate(d) || (c.hasAhead && d < c.ahead)) continue;
            SetDay(d);
            return true;
        }
        return false;
    }

    // 「１５日」: this month's; with `ahead`, the next month that has it when this month's
    // lies before (an end looks one month on only).
    bool DayOnly() {
        r.dayOnly = true;
        const CalDate base = c.hasAhead ? c.ahead : c.today;
        CalDate d{base.year, base.month, f.dayNumber};
        if (!IsValidDate(d)) return false;
        if (!c.hasAhead || c.ahead <= d) {
            SetDay(d);
            return true;
        }
        const int tries = c.hasEnd ? 1 : 12;
        CalDate month{base.year, base.month, 1};
        for (int k = 0; k < tries; ++k) {
            month = AddMonths(month, 1);
            d = CalDate{month.year, month.month, f.dayNumber};
            if (IsValidDate(d)) {
                SetDay(d);
                return true;
            }
        }
        return false;
    }

    const PhraseForm& f;
    const PhraseContext& c;
    DateReading r;
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
