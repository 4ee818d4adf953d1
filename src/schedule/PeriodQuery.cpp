#include "schedule/PeriodQuery.h"

#include "platform/Clock.h"
#include "strings/StringTable.h"
#include "schedule/ScheduleLine.h"
#include "text/JText.h"
#include "text/Sjis.h"

namespace nelo {

namespace {

bool IsBlankAt(std::string_view text, std::size_t i) {
    return text[i] == ' ' || text[i] == '\t' || (i + 1 < text.size() && DbcsCode(text.data() + i) == 0x8140);
}

// The words of a text split at ASCII and full-width blanks.
std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlankAt(text, i)) i += text[i] == ' ' || text[i] == '\t' ? 1U : 2U;
        const std::size_t from = i;
        while (i < text.size() && !IsBlankAt(text, i)) i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2U : 1U;
        if (i > text.size()) i = text.size();
        if (i > from) words.push_back(text.substr(from, i - from));
    }
    return words;
}

bool IsDateWord(std::string_view word) {
    const RangeForm r = ParseRangeWord(word, false);
    return r.start.status != PhraseStatus::NotADate;
}

}  // namespace

std::string NotAPeriodText(std::string_view word) {
    std::string out = "「"_sj;
    out.append(word);
    out += "」は日付でも期間でもありません。「予定　来週」のように入力してください。"_sj;
    return out;
}

int ReadQueryPeriod(const std::vector<std::string_view>& words, const PhraseContext& now, SchedulePeriod& period,
                    std::string& answer) {
    if (words.empty()) return 0;
    const RangeForm first = ParseRangeWord(words[0], false);
    if (first.start.status == PhraseStatus::NotADate) return 0;
    const std::string_view startText = first.isRange ? words[0].substr(0, first.startEnd) : words[0];
    PhraseForm endForm;
    bool hasEnd = false;
    std::string_view endText;
    if (first.isRange && !first.isOpen) {
        endForm = first.end;
        hasEnd = true;
        endText = words[0].substr(first.endBegin);
    } else if (words.size() > 1) {
        const RangeForm second = ParseRangeWord(words[1], true);
        if (second.start.status == PhraseStatus::NotADate || second.isRange) {
            answer = NotAPeriodText(words[1]);
            return -1;
        }
        endForm = second.start;
        hasEnd = true;
        endText = words[1];
    }
    const ScheduleSpan span = ResolveSpan(first.start, nullptr, hasEnd ? &endForm : nullptr, nullptr, now);
    const DateReading& s = span.start;
    const DateReading& e = span.end;
    if (s.outcome == ReadOutcome::Impossible || (hasEnd && e.outcome == ReadOutcome::Impossible)) {
        answer = LoadStringId(AnswerBadPeriod);
        return -1;
    }
    if (s.outcome != ReadOutcome::Read) {
        answer = RefusalText(s, startText, PhraseUse::Question);
        return -1;
    }
    if (hasEnd && e.outcome != ReadOutcome::Read) {
        answer = RefusalText(e, endText, PhraseUse::Question);
        return -1;
    }
    if (span.endBeforeStart) {
        answer = EndBeforeStartText(endText, startText);
        return -1;
    }
    const CalDate& last = hasEnd ? e.last : s.last;
    period.fromTime = MakeLocalTime(s.date.year, s.date.month, s.date.day, 0, 0, 0);
    period.toTime = MakeLocalTime(last.year, last.month, last.day, 23, 59, 59);
    if (period.fromTime == static_cast<std::time_t>(-1) || period.toTime == static_cast<std::time_t>(-1)) {
        answer = LoadStringId(AnswerBadPeriod);
        return -1;
    }
    return 1;
}

bool IsWholeListWord(std::string_view word) {
    return word == "一覧"_sj || word == "全部"_sj || word == "全て"_sj || word == "すべて"_sj;
}

bool SplitPeriodQuery(std::string_view word, std::string_view& period) {
    static const std::string_view kTail = "の予定"_sj;
    if (word.size() <= kTail.size() || word.substr(word.size() - kTail.size()) != kTail) return false;
    period = word.substr(0, word.size() - kTail.size());
    // The tail must start at a character boundary of the word.
    std::size_t i = 0;
    while (i < period.size()) i += IsLeadByte(static_cast<unsigned char>(period[i])) ? 2U : 1U;
    return i == period.size();
}

bool IsScheduleQueryText(const std::string& text) {
    static const std::string_view kQuery = "予定"_sj;
    if (text == kQuery) return true;
    std::string_view period;
    if (SplitPeriodQuery(text, period)) return IsDateWord(period);
    const std::vector<std::string_view> words = SplitWords(text);
    if (words.size() < 2 || words.size() > 3 || words[0] != kQuery) return false;
    if (words.size() == 2 && IsWholeListWord(words[1])) return true;
    for (std::size_t i = 1; i < words.size(); ++i)
        if (!IsDateWord(words[i])) return false;
    return true;
}

}  // namespace nelo
