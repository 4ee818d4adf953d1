#include "schedule/ScheduleLine.h"

#include "dates/DateText.h"
#include "platform/Clock.h"
#include "strings/StringTable.h"

#include <limits>
#include <optional>

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

// The date words of a line as they are taken, word by word.
struct WhenWords {
    RangeForm first;  // the first word, which may hold a range of its own
    std::string_view startText;
    PhraseForm startForm;
    std::optional<PhraseForm> startTime;  // a time of day in a word of its own
    std::optional<PhraseForm> endForm;
    std::optional<PhraseForm> endTime;
    std::string_view endText;
    std::size_t next = 1;  // the first word not taken
};

const PhraseForm* Given(const std::optional<PhraseForm>& form) { return form ? &*form : nullptr; }

// A weekday as a word of its own after a date restates it, as 「（金）」 does
// (「１２／２５　金曜　忘年会」): it is checked against the date, never read as an end.
void TakeRestatedWeekday(const std::vector<std::string_view>& words, WhenWords& w) {
    const PhraseForm& f = w.startForm;
    if (w.first.isRange || !NamesOneDay(f) || f.hasTime || f.annotatedWeekday >= 0 || w.next >= words.size()) return;
    const RangeForm r = ParseRangeWord(words[w.next], false);
    if (r.isRange || !IsBareWeekday(r.start)) return;
    w.startForm.annotatedWeekday = r.start.weekday;
    ++w.next;
}

// A day without its time of day, then a word that is only a time of day (or a range of
// times): 「１２／２５ １８：００」, 「１２／２５ １４：００－１６：００」.
void TakeStartTime(const std::vector<std::string_view>& words, WhenWords& w) {
    if (w.first.isRange || !IsDayWithoutTime(w.startForm) || w.next >= words.size()) return;
    const RangeForm t = ParseRangeWord(words[w.next], false);
    const bool closedRange = t.isRange && !t.isOpen;
    if (!IsTimeOnly(t.start) || (closedRange && !IsTimeOnly(t.end))) return;
    w.startTime = t.start;
    if (closedRange) {
        w.endForm = t.end;
        w.endText = words[w.next].substr(t.endBegin);
    }
    ++w.next;
}

// An end day without its time of day, then a word that is only a time of day.
void TakeEndTime(const std::vector<std::string_view>& words, WhenWords& w) {
    if (!IsDayWithoutTime(*w.endForm) || w.next >= words.size()) return;
    const RangeForm t = ParseRangeWord(words[w.next], false);
    if (t.isRange || !IsTimeOnly(t.start)) return;
    w.endTime = t.start;
    ++w.next;
}

// The end: the second half of the first word's range, or the next word when it reads as a
// day or a time (a day's name such as 「元日」 after a date is its label), with its own
// time of day after it. False when that word is a range, which cannot end an entry.
bool TakeEnd(const std::vector<std::string_view>& words, WhenWords& w) {
    if (w.first.isRange && !w.first.isOpen) {
        w.endForm = w.first.end;
        w.endText = words[0].substr(w.first.endBegin);
        return true;
    }
    if (w.endForm || w.next >= words.size()) return true;
    RangeForm e = ParseRangeWord(words[w.next], true);
    if (e.start.namedDay && !e.isRange) e.start.status = PhraseStatus::NotADate;
    if (!NamesDayOrTime(e.start)) return true;
    if (e.isRange) return false;
    w.endForm = e.start;
    w.endText = words[w.next];
    ++w.next;
    TakeEndTime(words, w);
    return true;
}

// The refusal of a start or an end that is no day, or an end before its start; nothing
// when both can be kept.
std::optional<ScheduleWhen> RefuseReadings(const ScheduleSpan& span, const WhenWords& w) {
    const DateReading& s = span.start;
    if (s.outcome == ReadOutcome::Impossible) return RefuseId(AnswerBadPeriod);
    if (!s.IsDay()) return Refuse(RefusalText(s, w.startText, PhraseUse::Schedule));
    if (!w.endForm) return std::nullopt;
    const DateReading& e = span.end;
    if (e.outcome == ReadOutcome::Impossible || e.outcome == ReadOutcome::NotADate)
        return RefuseId(AnswerBadSecondPeriod);
    if (!e.IsDay()) return Refuse(RefusalText(e, w.endText, PhraseUse::Schedule));
    if (span.endBeforeStart) return Refuse(EndBeforeStartText(w.endText, w.startText));
    // An end earlier on the start's own day: 「明日１２時 １０時」.
    if (e.date == s.date && e.HasTime() && s.HasTime() && Minutes(e) < Minutes(s))
        return RefuseId(AnswerBadSecondPeriod);
    return std::nullopt;
}

// The time value of a start, also when it is too far away for its display text.
std::time_t StartTimeValue(const DateReading& s, std::string& text) {
    std::time_t t = 0;
    if (FormatEntryDate(text, s.date, s.hour, s.minute, t) != 0) return t;
    // More than ten years away: the entry still needs a time value to be ordered by.
    t = MakeLocalTime(s.date.year, s.date.month, s.date.day, s.HasTime() ? s.hour : 0, s.minute, 0);
    return t == static_cast<std::time_t>(-1) ? std::numeric_limits<std::time_t>::max() : t;
}

// Writes the display texts and time values of the readings into when; the refusal when
// a time cannot be kept.
std::optional<ScheduleWhen> StoreTimes(const ScheduleSpan& span, bool hasEnd, ScheduleWhen& when) {
    const std::time_t start = StartTimeValue(span.start, when.startText);
    // Times are stored in 32 bits: a start beyond them cannot be kept.
    if (!FitsInt32(start)) return RefuseId(AnswerBadPeriod);
    when.startTime = static_cast<std::int32_t>(start);
    when.endTime = when.startTime;
    if (!hasEnd) return std::nullopt;
    const DateReading& e = span.end;
    std::time_t end = 0;
    if (FormatEntryDate(when.endText, e.date, e.hour, e.minute, end) == 0 || !FitsInt32(end))
        return RefuseId(AnswerBadSecondPeriod);
    // The start's own day without a time of day (00:00) ends it no earlier than it starts.
    when.endTime = end < when.startTime ? when.startTime : static_cast<std::int32_t>(end);
    return std::nullopt;
}

// The refusal when the words after the date words do not fit the line: any word at all
// for a line of dates only, else none (no business) or a mistaken end (「明日 福岡へ
// 出張」: a second word that is no date, with more words after it).
std::optional<ScheduleWhen> RefuseRest(const WhenWords& w, std::size_t n, bool datesOnly) {
    if (datesOnly) {
        if (w.next < n) return RefuseId(AnswerBadSecondPeriod);
        return std::nullopt;
    }
    if (w.next == 1 && !w.first.isRange && n > 2) return RefuseId(AnswerBadSecondPeriod);
    if (w.next >= n) return RefuseId(AnswerNoBusiness);
    return std::nullopt;
}

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
    if (words.empty()) return ScheduleWhen{};
    WhenWords w;
    w.first = ParseRangeWord(words[0], false);
    if (w.first.start.status == PhraseStatus::NotADate) return ScheduleWhen{};
    w.startText = w.first.isRange ? words[0].substr(0, w.first.startEnd) : words[0];
    w.startForm = w.first.start;
    TakeRestatedWeekday(words, w);
    TakeStartTime(words, w);
    if (!TakeEnd(words, w)) return RefuseId(AnswerBadSecondPeriod);

    const ScheduleSpan span = ResolveSpan(w.startForm, Given(w.startTime), Given(w.endForm), Given(w.endTime), now);
    if (auto refusal = RefuseReadings(span, w)) return *refusal;
    ScheduleWhen when;
    if (auto refusal = StoreTimes(span, w.endForm.has_value(), when)) return *refusal;
    if (auto refusal = RefuseRest(w, words.size(), datesOnly)) return *refusal;
    when.businessWord = w.next;
    when.outcome = ScheduleWhen::Read;
    return when;
}

}  // namespace nelo
