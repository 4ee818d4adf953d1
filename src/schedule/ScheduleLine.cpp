#include "schedule/ScheduleLine.h"

#include "dates/DateText.h"
#include "platform/Clock.h"
#include "strings/StringTable.h"

#include <limits>

namespace nelo {

namespace {

// An end that a yearless phrase moves into the next year stays shorter than this
// (「１２／２８ １／４」); a longer one is an end written before its start (「３／８ ３／１」).
constexpr long long kMaxYearWrapDays = 183;

bool FitsInt32(std::time_t t) {
    return t >= std::numeric_limits<std::int32_t>::min() && t <= std::numeric_limits<std::int32_t>::max();
}

// A phrase that is a time of day and nothing else: 「１８：００」, 「午後３時」, 「正午」.
bool IsTimeOnly(const PhraseForm& f) {
    return f.status == PhraseStatus::Date && f.day == DayForm::None && f.hasTime && !f.hasTimeOffset;
}

// A phrase that names a day (or a period) but no time of day.
bool IsDayWithoutTime(const PhraseForm& f) {
    return f.status == PhraseStatus::Date && f.day != DayForm::None && !f.hasTime;
}

// A phrase that reads wholly as a day or a time: it can end an entry. A week, month or
// year (「来年」) and a phrase refused in words (「昨年末」) can be the business.
bool NamesDayOrTime(const PhraseForm& f) {
    if (f.status != PhraseStatus::Date || f.day == DayForm::Week) return false;
    return f.day != DayForm::Calendar || f.dayPart != DayPart::None;
}

PhraseContext StartContext(const PhraseContext& now, bool hasAhead) {
    PhraseContext c = now;
    c.hasAhead = hasAhead;
    c.ahead = now.today;
    return c;
}

PhraseContext EndContext(const PhraseContext& now, const CalDate& start) {
    PhraseContext c = now;
    c.timeDay = start;
    c.hasPrevious = true;
    c.previous = start;
    c.hasAhead = true;
    c.ahead = start;
    c.hasEnd = true;
    return c;
}

// The time of day of a word of its own put on a reading's day.
void ApplyTime(DateReading& r, const PhraseForm* timeForm, const PhraseContext& now) {
    if (!timeForm || r.outcome != ReadOutcome::Read) return;
    PhraseContext c = now;
    c.timeDay = r.date;
    const DateReading t = ResolvePhrase(*timeForm, c);
    if (t.outcome != ReadOutcome::Read) {
        r.outcome = t.outcome;
        r.refusal = t.refusal;
        return;
    }
    r.hour = t.hour;
    r.minute = t.minute;
}

// A date, or a day counted from today or the line before (「明日」, 「翌日」).
bool NamesOneDay(const PhraseForm& f) {
    return f.day == DayForm::Calendar || f.day == DayForm::FromToday || f.day == DayForm::Following;
}

// 「金曜」 alone: no week, no 次の, no time of day.
bool IsBareWeekday(const PhraseForm& f) {
    return f.status == PhraseStatus::Date && f.day == DayForm::Weekday && !f.strict && !f.hasTime && f.timeWord < 0 &&
           f.annotatedWeekday < 0;
}

bool IsYearlessReading(const DateReading& r) { return r.outcome == ReadOutcome::Read && (r.yearless || r.dayOnly); }

DateReading ResolveEnd(const PhraseForm& endForm, const PhraseForm* endTime, const DateReading& start,
                       const PhraseContext& now) {
    PhraseContext c = EndContext(now, start.date);
    if (start.HasTime()) c.previousMinutes = start.hour * 60 + start.minute;
    DateReading e = ResolvePhrase(endForm, c);
    ApplyTime(e, endTime, now);
    return e;
}

int Minutes(const DateReading& r) { return r.hour * 60 + r.minute; }

ScheduleWhen Refuse(std::string answer) {
    ScheduleWhen w;
    w.outcome = ScheduleWhen::Refused;
    w.answer = std::move(answer);
    return w;
}

ScheduleWhen RefuseId(int id) { return Refuse(LoadStringId(id)); }

}  // namespace

bool IsScheduleStartWord(std::string_view word) {
    const RangeForm r = ParseRangeWord(word, false);
    return r.start.status == PhraseStatus::Refused || NamesDayOrTime(r.start);
}

ScheduleSpan ResolveSpan(const PhraseForm& startForm, const PhraseForm* startTime, const PhraseForm* endForm,
                         const PhraseForm* endTime, const PhraseContext& now) {
    ScheduleSpan s;
    s.start = ResolvePhrase(startForm, StartContext(now, true));
    ApplyTime(s.start, startTime, now);
    if (!endForm || s.start.outcome != ReadOutcome::Read) return s;
    s.hasEnd = true;
    s.end = ResolveEnd(*endForm, endTime, s.start, now);

    // Under way: this year's start has passed, its end has not (「２／２３ ２／２７」 on 2/25).
    if (IsYearlessReading(s.start) && IsYearlessReading(s.end)) {
        DateReading here = ResolvePhrase(startForm, StartContext(now, false));
        ApplyTime(here, startTime, now);
        if (here.outcome == ReadOutcome::Read && here.date < now.today) {
            const DateReading hereEnd = ResolveEnd(*endForm, endTime, here, now);
            if (hereEnd.outcome == ReadOutcome::Read && !(hereEnd.last < now.today)) {
                s.start = here;
                s.end = hereEnd;
            }
        }
    }
    if (s.end.outcome == ReadOutcome::Read) {
        if (s.end.date < s.start.date)
            s.endBeforeStart = true;
        else if (s.end.yearless && s.end.date.year > s.start.date.year &&
                 DayNumber(s.end.date) - DayNumber(s.start.date) >= kMaxYearWrapDays)
            s.endBeforeStart = true;
    }
    return s;
}

ScheduleWhen ReadScheduleWhen(const std::vector<std::string_view>& words, const PhraseContext& now, bool datesOnly) {
    const std::size_t n = words.size();
    if (n == 0) return ScheduleWhen{};
    const RangeForm first = ParseRangeWord(words[0], false);
    if (first.start.status == PhraseStatus::NotADate) return ScheduleWhen{};
    const std::string_view startText = first.isRange ? words[0].substr(0, first.startEnd) : words[0];
    PhraseForm startForm = first.start;

    PhraseForm startTime, endForm, endTime;
    bool hasStartTime = false, hasEnd = false, hasEndTime = false;
    std::string_view endText;
    std::size_t i = 1;
    // A weekday as a word of its own after a date restates it, as 「（金）」 does
    // (「１２／２５　金曜　忘年会」): it is checked against the date, never read as an end.
    if (!first.isRange && NamesOneDay(startForm) && !startForm.hasTime && startForm.annotatedWeekday < 0 && i < n) {
        const RangeForm w = ParseRangeWord(words[i], false);
        if (!w.isRange && IsBareWeekday(w.start)) {
            startForm.annotatedWeekday = w.start.weekday;
            ++i;
        }
    }
    // A day without its time of day, then a word that is only a time of day (or a range
    // of times): 「１２／２５ １８：００」, 「１２／２５ １４：００－１６：００」.
    if (!first.isRange && IsDayWithoutTime(startForm) && i < n) {
        const RangeForm t = ParseRangeWord(words[i], false);
        if (IsTimeOnly(t.start) && (!t.isRange || t.isOpen || IsTimeOnly(t.end))) {
            startTime = t.start;
            hasStartTime = true;
            if (t.isRange && !t.isOpen) {
                endForm = t.end;
                hasEnd = true;
                endText = words[i].substr(t.endBegin);
            }
            ++i;
        }
    }
    if (first.isRange && !first.isOpen) {
        endForm = first.end;
        hasEnd = true;
        endText = words[0].substr(first.endBegin);
    } else if (!hasEnd && i < n) {
        // The next word is the end when it reads as a day or a time; a day's name (「元日」)
        // after a date is its label.
        RangeForm e = ParseRangeWord(words[i], true);
        if (e.start.namedDay && !e.isRange) e.start.status = PhraseStatus::NotADate;
        if (e.isRange && NamesDayOrTime(e.start)) return RefuseId(IDS_BAD_SECOND_PERIOD);
        if (!e.isRange && NamesDayOrTime(e.start)) {
            endForm = e.start;
            hasEnd = true;
            endText = words[i];
            ++i;
            if (IsDayWithoutTime(endForm) && i < n) {
                const RangeForm t = ParseRangeWord(words[i], false);
                if (!t.isRange && IsTimeOnly(t.start)) {
                    endTime = t.start;
                    hasEndTime = true;
                    ++i;
                }
            }
        }
    }

    const ScheduleSpan span = ResolveSpan(startForm, hasStartTime ? &startTime : nullptr, hasEnd ? &endForm : nullptr,
                                          hasEndTime ? &endTime : nullptr, now);
    const DateReading& S = span.start;
    if (S.outcome == ReadOutcome::Impossible) return RefuseId(IDS_BAD_PERIOD);
    if (!S.IsDay()) return Refuse(RefusalText(S, startText, PhraseUse::Schedule));
    const DateReading& E = span.end;
    if (hasEnd) {
        if (E.outcome == ReadOutcome::Impossible || E.outcome == ReadOutcome::NotADate)
            return RefuseId(IDS_BAD_SECOND_PERIOD);
        if (!E.IsDay()) return Refuse(RefusalText(E, endText, PhraseUse::Schedule));
        if (span.endBeforeStart) return Refuse(EndBeforeStartText(endText, startText));
        // An end earlier on the start's own day: 「明日１２時 １０時」.
        if (E.date == S.date && E.HasTime() && S.HasTime() && Minutes(E) < Minutes(S))
            return RefuseId(IDS_BAD_SECOND_PERIOD);
    }

    ScheduleWhen w;
    std::time_t t = 0;
    if (FormatEntryDate(w.startText, S.date, S.hour, S.minute, t) == 0) {
        // More than ten years away: the entry still needs a time value to be ordered by.
        t = MakeLocalTime(S.date.year, S.date.month, S.date.day, S.HasTime() ? S.hour : 0, S.minute, 0);
        if (t == static_cast<std::time_t>(-1)) t = std::numeric_limits<std::time_t>::max();
    }
    // Times are stored in 32 bits: a start beyond them cannot be kept.
    if (!FitsInt32(t)) return RefuseId(IDS_BAD_PERIOD);
    w.startTime = static_cast<std::int32_t>(t);
    w.endTime = w.startTime;
    if (hasEnd) {
        if (FormatEntryDate(w.endText, E.date, E.hour, E.minute, t) == 0 || !FitsInt32(t))
            return RefuseId(IDS_BAD_SECOND_PERIOD);
        // The start's own day without a time of day (00:00) ends it no earlier than it starts.
        w.endTime = t < w.startTime ? w.startTime : static_cast<std::int32_t>(t);
    }

    if (datesOnly) {
        if (i < n) return RefuseId(IDS_BAD_SECOND_PERIOD);
    } else {
        // A second word that is no date, with more words after it, is a mistaken end
        // (「明日 福岡へ 出張」). After the date words, every word is the business.
        if (i == 1 && !first.isRange && n > 2) return RefuseId(IDS_BAD_SECOND_PERIOD);
        if (i >= n) return RefuseId(IDS_NO_BUSINESS);
    }
    w.businessWord = i;
    w.outcome = ScheduleWhen::Read;
    return w;
}

}  // namespace nelo
