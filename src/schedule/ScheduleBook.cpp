#include "schedule/ScheduleBook.h"

#include "dates/DateAnswers.h"
#include "dates/DateReader.h"
#include "platform/Clock.h"
#include "strings/StringTable.h"
#include "schedule/PeriodQuery.h"
#include "schedule/StartTimeQueue.h"
#include "schedule/ScheduleLine.h"
#include "text/JText.h"
#include "text/Sjis.h"
#include "units/UnitConvert.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace nelo {

const CmdWord g_cmdWords[10] = {
    {"何曜日"_sj, 1}, {"曜日"_sj, 1}, {"何歳"_sj, 2},   {"何才"_sj, 2}, {"年齢"_sj, 2},
    {"年令"_sj, 2},   {"日付"_sj, 3}, {"基準日"_sj, 3}, {"日数"_sj, 4}, {"予定"_sj, 5},
};

// "斤", the usual character of the weight unit, counts as "斥".
const CmdWord g_unitWords[12] = {
    {"年"_sj, 0}, {"尺"_sj, 1}, {"間"_sj, 2}, {"里"_sj, 3}, {"坪"_sj, 4},  {"反"_sj, 5},
    {"町"_sj, 6}, {"合"_sj, 7}, {"升"_sj, 8}, {"貫"_sj, 9}, {"斥"_sj, 10}, {"斤"_sj, 10},
};

namespace {

// The words from `from` on joined by one full-width blank (the business).
std::string JoinWords(const std::vector<std::string_view>& words, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (i > from) out += "　"_sj;
        out.append(words[i]);
    }
    return out;
}

// The words of a prepared line (blanks are single ASCII blanks or tabs by then).
void SplitLine(const std::string& line, std::vector<std::string_view>& words) {
    words.clear();
    const std::string_view s(line);
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const std::size_t from = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > from) words.push_back(s.substr(from, i - from));
    }
}

// word == g_cmdWords[k].word, with the lengths of the words counted once.
bool IsCmdWord(std::string_view word, std::size_t k) {
    static const auto kViews = [] {
        std::array<std::string_view, std::size(g_cmdWords)> views;
        for (std::size_t i = 0; i < views.size(); ++i) views[i] = g_cmdWords[i].word;
        return views;
    }();
    return word == kViews[k];
}

}  // namespace

ScheduleBook::ScheduleBook() : m_date(&m_ownDate) {}

ScheduleBook::ScheduleBook(WorkingDate& date) : m_date(&date) {}

bool ScheduleBook::IsCommandWord(std::string_view word) {
    for (std::size_t k = 0; k < std::size(g_cmdWords); ++k)
        if (IsCmdWord(word, k)) return true;
    return false;
}

int ScheduleBook::DoCommand(std::string& answer, const std::string& text) {
    m_line.clear();
    AppendFullWidthHalfBlank(m_line, text);
    SplitLine(m_line, m_words);
    // A line is a sequence of double-byte words once converted; anything else is not ours.
    if (m_words.empty() || !IsLeadByte(static_cast<unsigned char>(m_words[0][0]))) return 0;
    const std::string_view first = m_words[0];

    // A word ending in "年" is a year for the era conversion, never a schedule start; a
    // command word never reads as a date.
    if (!IsCommandWord(first) && !EndsWithDbcs(first, "年"_sj)) {
        const ScheduleWhen when = ReadScheduleWhen(m_words, PhraseContext::Now());
        if (when.outcome == ScheduleWhen::Refused) {
            answer = when.answer;
            return 1;
        }
        if (when.outcome == ScheduleWhen::Read) {
            RegisterSchedule(when.startText, when.endText, JoinWords(m_words, when.businessWord), answer,
                             when.startTime, when.endTime);
            return 1;
        }
    }
    return DoKeywordCommand(std::string(first), answer);
}

int ScheduleBook::RegisterPhrases(const std::string& startPhrase, const std::string& endPhrase,
                                  const std::string& business, std::string& answer) {
    std::vector<std::string_view> words{startPhrase};
    if (!endPhrase.empty()) words.push_back(endPhrase);
    const ScheduleWhen when = ReadScheduleWhen(words, PhraseContext::Now(), true);
    if (when.outcome != ScheduleWhen::Read) {
        answer = when.outcome == ScheduleWhen::Refused ? when.answer : std::string(LoadStringId(IDS_BAD_PERIOD));
        return 0;
    }
    if (business.empty()) {
        answer = LoadStringId(IDS_NO_BUSINESS);
        return 0;
    }
    return RegisterSchedule(when.startText, when.endText, business, answer, when.startTime, when.endTime);
}

int ScheduleBook::DoKeywordCommand(const std::string& word, std::string& answer) {
    for (std::size_t k = 0; k < std::size(g_cmdWords); ++k) {
        const CmdWord& cmd = g_cmdWords[k];
        if (!IsCmdWord(word, k)) continue;
        m_command = cmd.code;
        if (cmd.code == 5)
            QuerySchedules(answer);
        else
            DateQuestion(answer);
        return 1;
    }
    if (PeriodQuery(word, answer)) return 1;
    for (const CmdWord& unit : g_unitWords) {
        if (!EndsWithDbcs(word, unit.word)) continue;
        // The whole word: a quantity is never cut.
        ConvertCommand(unit.code, word, answer);
        return 1;
    }
    return 0;
}

int ScheduleBook::DateQuestion(std::string& answer) {
    if (m_words.size() < 2) {
        answer = LoadStringId(IDS_NO_DATE);
        return 1;
    }
    const std::string_view phrase = m_words[1];
    // A time of day alone falls on the base date.
    PhraseContext ctx = PhraseContext::Now();
    ctx.timeDay = m_date->Date();
    const DateReading r = ReadDatePhrase(phrase, ctx);
    if (!r.IsDay()) {
        if (r.outcome == ReadOutcome::Refused || r.outcome == ReadOutcome::Read)
            answer = RefusalText(r, phrase, PhraseUse::Question);
        else
            answer = LoadStringId(m_command == 4 ? IDS_DONT_KNOW : IDS_BAD_DATE);
        return 1;
    }
    std::string& out = m_dateOut;
    switch (m_command) {
    case 1:
        m_date->Set(r.date, r.HasTime() ? r.hour : NO_TIME, r.minute);
        WeekdayAnswer(out, r.date);
        break;
    case 2:
        m_date->Set(r.date, r.HasTime() ? r.hour : NO_TIME, r.minute);
        AgeAnswer(out, r.date);
        break;
    case 3:
        m_date->Set(r.date, r.HasTime() ? r.hour : NO_TIME, r.minute);
        BaseDateAnswer(out, r.date);
        break;
    default: DayCountAnswer(out, m_date->Date(), r.date); break;
    }
    answer.clear();
    AppendFullWidth(answer, out);
    return 1;
}

int ScheduleBook::ConvertCommand(int code, const std::string& word, std::string& answer) {
    std::string out;
    if (code == 0) {
        AnswerEra(out, word);
    } else if (ConvertUnit(code, word, out) == 0) {
        answer = LoadStringId(IDS_BAD_NUMBER);
        return 1;
    }
    answer = ToFullWidth(out);
    return 1;
}

void ScheduleBook::UpdateIndex() {
    if (m_indexValid) return;
    m_index.Clear();
    for (std::size_t i = 0; i < m_schedules.size(); ++i) m_index.Add(m_schedules[i].get(), i);
    m_indexValid = true;
}

int ScheduleBook::RegisterSchedule(const std::string& startText, const std::string& endText,
                                   const std::string& business, std::string& answer, std::int32_t startTime,
                                   std::int32_t endTime) {
    UpdateIndex();
    // Only the entries the answer shows are looked at closely; the rest are counted.
    std::vector<std::size_t> conflicts;
    const std::size_t conflictCount = m_index.Conflicts(startTime, endTime, kMaxConflictLines, conflicts);

    const std::string year = CurrentYearText();
    std::string line;
    if (conflicts.empty()) {
        answer = LoadStringId(IDS_SCHEDULE_REGISTERED);
        answer += "\r\n";
    } else {
        answer = LoadStringId(IDS_SCHEDULE_REGISTERED_OVER);
        answer += "\r\n";
        for (std::size_t pos : conflicts) {
            m_schedules[pos]->Format(line, year);
            answer += line;
            answer += "\r\n";
        }
        if (conflictCount > conflicts.size())
            answer += "（ほか "_sj + std::to_string(conflictCount - conflicts.size()) + " 件）\r\n"_sj;
    }

    auto entry = std::make_unique<ScheduleEntry>();
    entry->m_startTime = startTime;
    entry->m_endTime = endTime;
    entry->m_startText = startText;
    entry->m_endText = endText;
    entry->m_business = business;
    entry->Format(line, year);
    m_schedules.push_back(std::move(entry));
    m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);

    answer += line;
    NoteChange();
    return 1;
}

bool ScheduleBook::AddRegistered(std::unique_ptr<ScheduleEntry> entry) {
    UpdateIndex();
    const bool conflict = m_index.AnyConflict(entry->m_startTime, entry->m_endTime);
    m_schedules.push_back(std::move(entry));
    m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);
    NoteChange();
    return conflict;
}

int ScheduleBook::QuerySchedules(std::string& answer) {
    if (m_words.size() < 2) return ListSchedules(answer);
    if (m_words.size() == 2 && IsWholeListWord(m_words[1])) return ListSchedules(answer);
    // The period: the next word, and a second one for a range.
    const std::vector<std::string_view> words(m_words.begin() + 1,
                                              m_words.begin() + (m_words.size() > 3 ? 3 : m_words.size()));
    SchedulePeriod period;
    const int found = ReadQueryPeriod(words, PhraseContext::Now(), period, answer);
    if (found == 0) {
        answer = NotAPeriodText(words[0]);
        return 1;
    }
    if (found < 0) return 1;
    return ListSchedulesBetween(answer, period.fromTime, period.toTime);
}

int ScheduleBook::PeriodQuery(const std::string& word, std::string& answer) {
    std::string_view periodWord;
    if (!SplitPeriodQuery(word, periodWord)) return 0;
    SchedulePeriod period;
    const int found = ReadQueryPeriod({periodWord}, PhraseContext::Now(), period, answer);
    if (found == 0) return 0;
    m_command = 5;
    if (found < 0) return 1;
    return ListSchedulesBetween(answer, period.fromTime, period.toTime);
}

int ScheduleBook::ListSchedules(std::string& answer) { return ListMatching(answer, true, 0, 0); }

int ScheduleBook::ListSchedulesBetween(std::string& answer, std::time_t fromTime, std::time_t toTime) {
    return ListMatching(answer, false, fromTime, toTime);
}

int ScheduleBook::ListMatching(std::string& answer, bool all, std::time_t fromTime, std::time_t toTime) {
    std::size_t count = m_schedules.size();
    if (!all) {
        count = 0;
        for (auto& entry : m_schedules)
            if (entry->Overlaps(fromTime, toTime)) ++count;
    }
    StartTimeQueue queue(static_cast<int>(count));
    for (auto& entry : m_schedules)
        if (all || entry->Overlaps(fromTime, toTime)) queue.Insert(entry.get());
    if (queue.m_count == 0) {
        answer = LoadStringId(IDS_NO_SCHEDULES);
        return 1;
    }
    const std::string year = CurrentYearText();
    std::string line;
    answer = LoadStringId(IDS_SCHEDULES_FOUND);
    answer += "\r\n";
    bool first = true;
    while (ScheduleEntry* p = queue.RemoveTop()) {
        if (!first) answer += "\r\n";
        first = false;
        p->Format(line, year);
        answer += line;
    }
    return 1;
}

void ScheduleBook::SortSchedules() {
    const std::size_t n = m_schedules.size();
    StartTimeQueue queue(static_cast<int>(n));
    for (auto& entry : m_schedules) queue.Insert(entry.release());
    const int count = queue.m_count;
    for (int i = 0; i < count; ++i) m_schedules[i].reset(queue.RemoveTop());
    queue.DeleteContents();
    m_indexValid = false;
}

void ScheduleBook::PurgePastSchedules() {
    const long long now = static_cast<long long>(CurrentClock().Now());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_schedules.size(); ++i) {
        const ScheduleEntry& e = *m_schedules[i];
        const long long t = e.m_endText.empty() ? e.m_startTime : e.m_endTime;
        if (t + 86400 < now) {
            m_schedules[i].reset();
            NoteChange();
            m_pastPurged = 1;
        } else {
            if (kept != i) m_schedules[kept] = std::move(m_schedules[i]);
            ++kept;
        }
    }
    if (kept != m_schedules.size()) m_indexValid = false;
    m_schedules.resize(kept);
}

bool ScheduleBook::DeleteSchedule(std::size_t pos) {
    if (pos >= m_schedules.size()) return false;
    m_schedules.erase(m_schedules.begin() + static_cast<std::ptrdiff_t>(pos));
    // The entries after it moved up one place.
    m_indexValid = false;
    NoteChange();
    return true;
}

void ScheduleBook::AddSchedule(std::unique_ptr<ScheduleEntry> entry) {
    m_schedules.push_back(std::move(entry));
    if (m_indexValid) m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);
}

void ScheduleBook::TakeSchedules(ScheduleBook& from) {
    m_schedules = std::move(from.m_schedules);
    m_pastPurged = from.m_pastPurged;
    m_indexValid = false;
    from.m_schedules.clear();
    from.m_index.Clear();
    from.m_indexValid = true;
}

void ScheduleBook::DeleteContents() {
    m_schedules.clear();
    m_index.Clear();
    m_indexValid = true;
    m_schedChanged = 0;
    m_pastPurged = 0;
}

}  // namespace nelo
