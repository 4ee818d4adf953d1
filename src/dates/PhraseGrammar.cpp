#include "dates/PhraseGrammar.h"

namespace nelo {

namespace {

enum class Step { Ok, Fail, Refuse };

class PhraseParser {
public:
    PhraseParser(const PhraseTokens& tokens, int from, int to, bool bareIsDay)
        : m_t(tokens.tok), m_i(from), m_end(to), m_bareIsDay(bareIsDay) {}

    PhraseForm Parse() {
        const int from = m_i;
        // 「１０時ごろ」: about the time it names.
        while (m_end > m_i && m_t[m_end - 1].kind == PTok::About) --m_end;
        if (m_end == m_i) return m_form;
        if (Is(PTok::Every)) return Refuse(PhraseRefusal::Repeating);
        for (int k = m_i; k < m_end; ++k)
            if (m_t[k].kind == PTok::Vague) return Refuse(PhraseRefusal::Vague);

        Step step = DayPart();
        if (step == Step::Ok) {
            if (m_form.day != DayForm::None && Is(PTok::Of) && m_i + 1 < m_end) ++m_i;
            step = TimePart();
        }
        if (step == Step::Refuse) return Refuse(m_form.refusal);
        if (step == Step::Fail || m_i != m_end) return Unread(from);
        if (m_form.timeWord >= 0 && !m_form.hasTime) return Refuse(PhraseRefusal::NoTimeOfDay);
        m_form.status = PhraseStatus::Date;
        return m_form;
    }

private:
    bool Is(PTok kind, int ahead = 0) const { return m_i + ahead < m_end && m_t[m_i + ahead].kind == kind; }
    bool IsAfterOrBefore(int ahead) const { return Is(PTok::After, ahead) || Is(PTok::Before, ahead); }
    int Value(int ahead = 0) const { return m_t[m_i + ahead].value; }
    void SkipOf() {
        if (Is(PTok::Of)) ++m_i;
    }

    PhraseForm Refuse(PhraseRefusal why) {
        PhraseForm f;
        f.status = PhraseStatus::Refused;
        f.refusal = why;
        return f;
    }

    // Words of a date in an order no form has: refused when they are plainly a date's
    // words, otherwise the phrase is no date (「５時間」 is a length, 「１２３」 a number).
    PhraseForm Unread(int from) {
        for (int k = from; k < m_end; ++k) {
            const PTok kind = m_t[k].kind;
            const PTok next = k + 1 < m_end ? m_t[k + 1].kind : PTok::Of;
            switch (kind) {
            case PTok::DayWord:
            case PTok::Following:
            case PTok::WeekWord:
            case PTok::MonthWord:
            case PTok::YearWord:
            case PTok::Era:
            case PTok::Weekday:
            case PTok::WeekEnd:
            case PTok::MonthEnd:
            case PTok::Next:
            case PTok::Ordinal:
            case PTok::HalfYear:
            case PTok::Tonight:
            case PTok::NamedDay:
            case PTok::Noon: return Refuse(PhraseRefusal::Unread);
            case PTok::Number:
                if (next == PTok::Year || next == PTok::Month || next == PTok::Day || next == PTok::Hour ||
                    next == PTok::Minute || next == PTok::DateMark || next == PTok::Colon)
                    return Refuse(PhraseRefusal::Unread);
                break;
            default: break;
            }
        }
        return PhraseForm{};
    }

    Step Fail() { return Step::Fail; }
    Step RefuseStep(PhraseRefusal why) {
        m_form.refusal = why;
        return Step::Refuse;
    }

    Step DayPart() {
        PhraseForm& f = m_form;
        switch (m_t[m_i].kind) {
        case PTok::DayWord:
        case PTok::Following:
            f.day = m_t[m_i].kind == PTok::DayWord ? DayForm::FromToday : DayForm::Following;
            f.count = Value();
            ++m_i;
            return Step::Ok;
        case PTok::Tonight:
            f.day = DayForm::FromToday;
            f.timeWord = Afternoon;
            ++m_i;
            return Step::Ok;
        case PTok::WeekWord:
            f.count = Value();
            ++m_i;
            SkipOf();
            if (Is(PTok::Weekday)) {
                f.day = DayForm::WeekDay;
                f.weekday = Value();
                ++m_i;
            } else if (Is(PTok::End)) {
                f.day = DayForm::WeekDay;
                f.weekday = 6;
                ++m_i;
            } else {
                f.day = DayForm::Week;
            }
            return Step::Ok;
        case PTok::WeekEnd:
            f.day = DayForm::WeekDay;
            f.weekday = 6;
            ++m_i;
            return Step::Ok;
        case PTok::MonthEnd:
            f.day = DayForm::Calendar;
            f.monthSource = PartSource::Word;
            f.dayPart = DayPart::Last;
            ++m_i;
            return Step::Ok;
        case PTok::MonthWord:
            f.day = DayForm::Calendar;
            f.monthSource = PartSource::Word;
            f.month = Value();
            ++m_i;
            return DayOfMonth();
        case PTok::YearWord:
            f.day = DayForm::Calendar;
            f.yearSource = PartSource::Word;
            f.year = Value();
            ++m_i;
            return AfterYear();
        case PTok::Era:
            f.day = DayForm::Calendar;
            f.yearSource = PartSource::Era;
            f.era = Value();
            if (Is(PTok::FirstYear, 1)) {
                f.year = 1;
                m_i += 2;
            } else if (Is(PTok::Number, 1) && Is(PTok::Year, 2)) {
                f.year = Value(1);
                m_i += 3;
            } else {
                return Fail();
            }
            return AfterYear();
        case PTok::HalfYear:
            if (!IsAfterOrBefore(1)) return Fail();
            f.day = DayForm::Offset;
            f.unit = OffsetUnit::Months;
            f.count = Is(PTok::Before, 1) ? -6 : 6;
            m_i += 2;
            return OffsetWeekday();
        case PTok::Next:
            if (!Is(PTok::Weekday, 1)) return Fail();
            f.day = DayForm::Weekday;
            f.weekday = Value(1);
            f.strict = true;
            m_i += 2;
            return Step::Ok;
        case PTok::Weekday:
            f.day = DayForm::Weekday;
            f.weekday = Value();
            ++m_i;
            return Step::Ok;
        case PTok::Ordinal:
            if (Is(PTok::Number, 1) && Is(PTok::Weekday, 2)) return RefuseStep(PhraseRefusal::WhichMonth);
            return Fail();
        case PTok::Every: return RefuseStep(PhraseRefusal::Repeating);
        case PTok::Until:
        case PTok::Wave:
        case PTok::From: return RefuseStep(PhraseRefusal::NoStart);
        case PTok::Number: return NumberDay();
        case PTok::NamedDay:
            f.day = DayForm::Calendar;
            NamedDay();
            return Step::Ok;
        case PTok::TimeWord:
        case PTok::Noon: return Step::Ok;  // a time of day alone
        default: return Fail();
        }
    }

    // A phrase that opens with a number.
    Step NumberDay() {
        PhraseForm& f = m_form;
        const int n = Value();
        if (m_i + 1 >= m_end) {
            if (!m_bareIsDay) return Fail();
            f.day = DayForm::Calendar;
            f.dayPart = DayPart::Bare;
            f.dayNumber = n;
            ++m_i;
            return Step::Ok;
        }
        const PTok unit = m_t[m_i + 1].kind;
        if (IsAfterOrBefore(2) &&
            (unit == PTok::Day || unit == PTok::Weeks || unit == PTok::Months || unit == PTok::Year)) {
            f.day = DayForm::Offset;
            f.unit = unit == PTok::Day     ? OffsetUnit::Days
                     : unit == PTok::Weeks ? OffsetUnit::Weeks
                     : unit == PTok::Year  ? OffsetUnit::Years
                                           : OffsetUnit::Months;
            f.count = Is(PTok::Before, 2) ? -static_cast<long long>(n) : n;
            m_i += 3;
            return OffsetWeekday();
        }
        switch (unit) {
        case PTok::Year:
            f.day = DayForm::Calendar;
            f.yearSource = PartSource::Number;
            f.year = n;
            m_i += 2;
            return AfterYear();
        case PTok::Month:
            f.day = DayForm::Calendar;
            f.monthSource = PartSource::Number;
            f.month = n;
            m_i += 2;
            return DayOfMonth();
        case PTok::Day:
            f.day = DayForm::Calendar;
            f.dayPart = DayPart::Number;
            f.dayNumber = n;
            m_i += 2;
            Annotation();
            return Step::Ok;
        case PTok::DateMark:
        case PTok::Minus: return NumericDate();
        case PTok::Hour:
        case PTok::Colon:
        case PTok::Hours:
        case PTok::Minute: return Step::Ok;  // a time of day, or a time from now
        default: return Fail();
        }
    }

    // 「２００３／１／１」, 「１２－２５」: three numbers are a year, month and day, two a
    // month and day.
    Step NumericDate() {
        PhraseForm& f = m_form;
        int nums[3], count = 0;
        nums[count++] = Value();
        ++m_i;
        while (count < 3 && (Is(PTok::DateMark) || Is(PTok::Minus)) && Is(PTok::Number, 1)) {
            nums[count++] = Value(1);
            m_i += 2;
        }
        if (count < 2) return Fail();
        f.day = DayForm::Calendar;
        if (count == 3) {
            f.yearSource = PartSource::Number;
            f.year = nums[0];
        }
        f.monthSource = PartSource::Number;
        f.month = nums[count - 2];
        f.dayPart = DayPart::Number;
        f.dayNumber = nums[count - 1];
        Annotation();
        return Step::Ok;
    }

    // 「元日」, 「大晦日」: a month and day by name.
    void NamedDay() {
        m_form.monthSource = PartSource::Number;
        m_form.month = Value() / 100;
        m_form.dayPart = DayPart::Number;
        m_form.dayNumber = Value() % 100;
        m_form.namedDay = true;
        ++m_i;
    }

    // After a year: its month, a month and day, 「去年５日」, or nothing (the whole year).
    Step AfterYear() {
        PhraseForm& f = m_form;
        SkipOf();
        if (Is(PTok::NamedDay)) {
            NamedDay();
            return Step::Ok;
        }
        if (Is(PTok::Number) && Is(PTok::Month, 1)) {
            f.monthSource = PartSource::Number;
            f.month = Value();
            m_i += 2;
            return DayOfMonth();
        }
        if (Is(PTok::Number) && (Is(PTok::DateMark, 1) || Is(PTok::Minus, 1)) && Is(PTok::Number, 2)) {
            f.monthSource = PartSource::Number;
            f.month = Value();
            f.dayPart = DayPart::Number;
            f.dayNumber = Value(2);
            m_i += 3;
            Annotation();
            return Step::Ok;
        }
        // A day with a year word takes today's month (「去年５日」).
        if (f.yearSource == PartSource::Word && Is(PTok::Number) && Is(PTok::Day, 1)) {
            f.dayPart = DayPart::Number;
            f.dayNumber = Value();
            m_i += 2;
            Annotation();
            return Step::Ok;
        }
        return Step::Ok;
    }

    // After a month: its day, 第Ｎ曜日, 末, or nothing (the whole month).
    Step DayOfMonth() {
        PhraseForm& f = m_form;
        SkipOf();
        if (Is(PTok::Number) && Is(PTok::Day, 1)) {
            f.dayPart = DayPart::Number;
            f.dayNumber = Value();
            m_i += 2;
            Annotation();
            return Step::Ok;
        }
        // 「１２月２５」: a number right after the month is its day.
        if (Is(PTok::Number) && !IsUnitAt(1)) {
            f.dayPart = DayPart::Number;
            f.dayNumber = Value();
            ++m_i;
            Annotation();
            return Step::Ok;
        }
        if (Is(PTok::Ordinal) && Is(PTok::Number, 1) && Is(PTok::Weekday, 2)) {
            f.dayPart = DayPart::Ordinal;
            f.dayNumber = Value(1);
            f.weekday = Value(2);
            m_i += 3;
            return Step::Ok;
        }
        if (Is(PTok::End)) {
            f.dayPart = DayPart::Last;
            ++m_i;
            return Step::Ok;
        }
        if (Is(PTok::Weekday)) return RefuseStep(PhraseRefusal::WhichWeekday);
        return Step::Ok;
    }

    bool IsUnitAt(int ahead) const {
        if (m_i + ahead >= m_end) return false;
        switch (m_t[m_i + ahead].kind) {
        case PTok::Year:
        case PTok::Month:
        case PTok::Day:
        case PTok::Hour:
        case PTok::Minute:
        case PTok::Second:
        case PTok::Weeks:
        case PTok::Months:
        case PTok::Hours:
        case PTok::Colon:
        case PTok::DateMark:
        case PTok::Minus: return true;
        default: return false;
        }
    }

    // 「（水）」 or 「水曜」 right after a date: the weekday the date must have.
    void Annotation() {
        if (Is(PTok::Open) && (Is(PTok::WeekdayChar, 1) || Is(PTok::Weekday, 1)) && Is(PTok::Close, 2)) {
            m_form.annotatedWeekday = Value(1);
            m_i += 3;
        } else if (Is(PTok::Weekday)) {
            m_form.annotatedWeekday = Value();
            ++m_i;
        }
    }

    // 「３日後の金曜」: a weekday after a count.
    Step OffsetWeekday() {
        const int save = m_i;
        SkipOf();
        if (Is(PTok::Weekday)) {
            m_form.weekday = Value();
            ++m_i;
        } else {
            m_i = save;
        }
        return Step::Ok;
    }

    Step TimePart() {
        PhraseForm& f = m_form;
        if (m_i >= m_end) return Step::Ok;
        if (Is(PTok::Noon)) {
            f.hasTime = true;
            f.hour = 12;
            f.minute = 0;
            ++m_i;
            return Step::Ok;
        }
        if (Is(PTok::TimeWord)) {
            if (f.timeWord >= 0) return Fail();
            f.timeWord = Value();
            ++m_i;
            if (m_i >= m_end) return Step::Ok;  // refused by Parse: no hour
        }
        if (!Is(PTok::Number)) return Fail();
        if (Is(PTok::Hour, 1)) return HourAndMinute();
        if (Is(PTok::Colon, 1) && Is(PTok::Number, 2)) return ClockTime();
        return TimeFromNow();
    }

    // 「１０時」, 「１０時半」, 「１０時３０分」, 「１０時３０」; seconds after them are passed over.
    Step HourAndMinute() {
        PhraseForm& f = m_form;
        f.hasTime = true;
        f.hour = Value();
        m_i += 2;
        if (Is(PTok::Number) && Is(PTok::Minute, 1)) {
            f.minute = Value();
            m_i += 2;
        } else if (Is(PTok::Half)) {
            f.minute = 30;
            ++m_i;
        } else if (Is(PTok::Number) && !IsUnitAt(1)) {
            f.minute = Value();  // 「１０時３０」
            ++m_i;
        }
        if (Is(PTok::Number) && Is(PTok::Second, 1)) m_i += 2;
        return Step::Ok;
    }

    // 「１０：３０」, and 「１０：３０：１５」 with its seconds passed over.
    Step ClockTime() {
        PhraseForm& f = m_form;
        f.hasTime = true;
        f.hour = Value();
        f.minute = Value(2);
        m_i += 3;
        if (Is(PTok::Colon) && Is(PTok::Number, 1)) m_i += 2;  // seconds
        return Step::Ok;
    }

    // Ｎ時間後, Ｎ時間半後, Ｎ時間Ｍ分後, Ｎ分後: a time counted from now, alone.
    Step TimeFromNow() {
        PhraseForm& f = m_form;
        if (f.day != DayForm::None || f.timeWord >= 0) return Fail();
        long long minutes = 0;
        if (!ReadTimeLength(minutes)) return Fail();
        if (!Is(PTok::After) && !Is(PTok::Before)) return Fail();
        f.hasTimeOffset = true;
        f.minutes = Is(PTok::Before) ? -minutes : minutes;
        ++m_i;
        return Step::Ok;
    }

    // Ｎ時間, Ｎ時間半, Ｎ時間Ｍ分 or Ｎ分 in minutes; false when the tokens are none of them.
    bool ReadTimeLength(long long& minutes) {
        const int n = Value();
        if (Is(PTok::Minute, 1)) {
            minutes = n;
            m_i += 2;
            return true;
        }
        if (!Is(PTok::Hours, 1)) return false;
        minutes = 60LL * n;
        m_i += 2;
        if (Is(PTok::Half)) {
            minutes += 30;
            ++m_i;
        } else if (Is(PTok::Number) && Is(PTok::Minute, 1)) {
            minutes += Value();
            m_i += 2;
        }
        return true;
    }

    const PhraseToken* m_t;
    int m_i;
    int m_end;
    bool m_bareIsDay;
    PhraseForm m_form;
};

// True when the tokens [from, to) end in a time of day: 「１０時」, 「１０時半」, 「１０：３０」,
// 「正午」, 「１０時３０分」.
bool EndsInTime(const PhraseToken* t, int from, int to) {
    if (to - from < 1) return false;
    const PTok last = t[to - 1].kind;
    if (last == PTok::Noon) return true;
    if (to - from < 2) return false;
    const PTok before = t[to - 2].kind;
    if (last == PTok::Hour || last == PTok::Half) return true;
    if (last == PTok::Minute) return before == PTok::Number && to - from >= 4 && t[to - 3].kind == PTok::Hour;
    if (last == PTok::Number) return before == PTok::Colon || before == PTok::Hour;
    return false;
}

// True when the tokens from `from` begin with a time of day.
bool BeginsWithTime(const PhraseToken* t, int from, int to) {
    int i = from;
    if (i < to && t[i].kind == PTok::Noon) return true;
    if (i < to && t[i].kind == PTok::TimeWord) ++i;
    return i + 1 < to && t[i].kind == PTok::Number && (t[i + 1].kind == PTok::Hour || t[i + 1].kind == PTok::Colon);
}

// 「３日間」, 「２週間」, 「２時間」, 「１時間半」, 「３０分間」: a length, which ends a range
// that far from its start. Null when the tokens are not one.
bool ReadDuration(const PhraseToken* t, int from, int to, PhraseForm& f) {
    if (to - from < 2 || t[from].kind != PTok::Number) return false;
    const long long n = t[from].value;
    const PTok unit = t[from + 1].kind;
    int i = from + 2;
    if (unit == PTok::DayCount || (unit == PTok::Weeks && i == to)) {
        if (i != to) return false;
        f.count = unit == PTok::Weeks ? 7 * n : n;
    } else if (unit == PTok::Hours) {
        f.minutes = 60 * n;
        if (i < to && t[i].kind == PTok::Half) {
            f.minutes += 30;
            ++i;
        } else if (i + 1 < to && t[i].kind == PTok::Number && t[i + 1].kind == PTok::Minute) {
            f.minutes += t[i].value;
            i += 2;
        }
        if (i != to) return false;
    } else if (unit == PTok::Minute && i == to) {
        f.minutes = n;
    } else {
        return false;
    }
    f.status = PhraseStatus::Date;
    f.day = DayForm::Duration;
    return true;
}

// The token that splits a word into a start and an end: the first 「～」 or 「から」, else a
// hyphen between two times of day (「２００３－６－２」 stays one date); -1 when none.
int FindRangeMark(const PhraseToken* t, int n) {
    for (int k = 0; k < n; ++k)
        if (t[k].kind == PTok::Wave || t[k].kind == PTok::From) return k;
    for (int k = 1; k + 1 < n; ++k)
        if (t[k].kind == PTok::Minus && EndsInTime(t, 0, k) && BeginsWithTime(t, k + 1, n)) return k;
    return -1;
}

// A word with an end but no start (「金曜まで」, 「～１２時」): refused when what stands
// for its end is a date, else no date at all.
RangeForm MissingStart(const PhraseForm& end) {
    RangeForm r;
    if (end.status != PhraseStatus::NotADate) {
        r.start.status = PhraseStatus::Refused;
        r.start.refusal = PhraseRefusal::NoStart;
    }
    return r;
}

// A word without a range mark: one phrase, or an end alone (「金曜まで」).
RangeForm ReadSingle(const PhraseTokens& tokens, std::string_view word, bool bareIsDay) {
    const PhraseToken* t = tokens.tok;
    const int n = tokens.n;
    if (n > 1 && t[n - 1].kind == PTok::Until) return MissingStart(ParsePhraseTokens(tokens, 0, n - 1, false));
    RangeForm r;
    r.start = ParsePhraseTokens(tokens, 0, n, bareIsDay);
    r.startEnd = static_cast<std::uint16_t>(word.size());
    return r;
}

// A word with a range mark at mark, after its start: the start, and the end after the
// mark (a length such as 「３日間」, a phrase, or nothing for an open range 「１０時から」).
RangeForm ReadRange(const PhraseTokens& tokens, std::string_view word, int mark) {
    const PhraseToken* t = tokens.tok;
    RangeForm r;
    r.isRange = true;
    r.startEnd = t[mark].begin;
    r.start = ParsePhraseTokens(tokens, 0, mark, false);
    int endTo = tokens.n;
    if (endTo > mark + 1 && t[endTo - 1].kind == PTok::Until) --endTo;
    if (endTo == mark + 1) {
        r.isOpen = true;
        r.endBegin = static_cast<std::uint16_t>(word.size());
        return r;
    }
    r.endBegin = t[mark + 1].begin;
    if (!ReadDuration(t, mark + 1, endTo, r.end)) r.end = ParsePhraseTokens(tokens, mark + 1, endTo, true);
    return r;
}

}  // namespace

PhraseForm ParsePhraseTokens(const PhraseTokens& tokens, int from, int to, bool bareIsDay) {
    return PhraseParser(tokens, from, to, bareIsDay).Parse();
}

RangeForm ParseRangeWord(std::string_view word, bool bareIsDay) {
    PhraseTokens tokens;
    if (word.empty() || !LexPhrase(word, tokens)) return RangeForm{};
    const int n = tokens.n;
    const int mark = FindRangeMark(tokens.tok, n);
    if (mark < 0) return ReadSingle(tokens, word, bareIsDay);
    // 「～１２時」: nothing before the mark.
    if (mark == 0)
        return MissingStart(ParsePhraseTokens(tokens, 1, n - (tokens.tok[n - 1].kind == PTok::Until ? 1 : 0), true));
    return ReadRange(tokens, word, mark);
}

}  // namespace nelo
