#include "schedule/ScheduleBook.h"

#include "dates/DateCommands.h"
#include "dates/DateReader.h"
#include "platform/Clock.h"
#include "strings/StringTable.h"
#include "schedule/PeriodQuery.h"
#include "schedule/StartTimeQueue.h"
#include "schedule/ScheduleLine.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <algorithm>
#include <string_view>

namespace nelo {

namespace {

// The query word: 「予定」 alone, or with a period after it.
constexpr std::string_view kQueryWord = "予定"_sj;

}  // namespace

bool ScheduleBook::Answer(const std::string& text, std::string& answer) {
    return m_line.Read(text) && Answer(m_line, answer);
}

bool ScheduleBook::Answer(const CommandLine& line, std::string& answer) {
    const std::string_view first = line.GetWords()[0];

    // A word ending in "年" is a year for the era conversion, never a schedule start; a
    // command word never reads as a date.
    if (first != kQueryWord && !DateCommands::IsQuestionWord(first) && !EndsWithDbcs(first, "年"_sj)) {
        ScheduleWhen when = ReadScheduleWhen(line.GetWords(), PhraseContext::Now());
        if (when.outcome == ScheduleWhen::Refused) {
            answer = when.answer;
            return true;
        }
        if (when.outcome == ScheduleWhen::Read) {
            RegisterSchedule(std::move(when.startText), std::move(when.endText), line.JoinFrom(when.businessWord),
                             answer, when.startTime, when.endTime);
            return true;
        }
    }
    if (first == kQueryWord) {
        QuerySchedules(line.GetWords(), answer);
        return true;
    }
    return PeriodQuery(first, answer);
}

void ScheduleBook::UpdateIndex() {
    if (m_indexValid) return;
    m_index.Clear();
    for (std::size_t i = 0; i < m_schedules.size(); ++i) m_index.Add(m_schedules[i].get(), i);
    m_indexValid = true;
}

void ScheduleBook::RegisterSchedule(std::string startText, std::string endText, std::string business,
                                    std::string& answer, std::int32_t startTime, std::int32_t endTime) {
    UpdateIndex();
    // Only the entries the answer shows are looked at closely; the rest are counted.
    std::vector<std::size_t>& conflicts = m_conflicts;
    conflicts.clear();
    const std::size_t conflictCount = m_index.Conflicts(startTime, endTime, kMaxConflictLines, conflicts);

    const std::string year = CurrentYearText();
    std::string& line = m_entryText;
    if (conflicts.empty()) {
        answer = LoadStringId(AnswerScheduleRegistered);
        answer += "\r\n";
    } else {
        answer = LoadStringId(AnswerScheduleRegisteredOver);
        answer += "\r\n";
        for (std::size_t pos : conflicts) {
            m_schedules[pos]->Format(line, year);
            answer += line;
            answer += "\r\n";
        }
        if (conflictCount > conflicts.size())
            answer += "（ほか "_sj + std::to_string(conflictCount - conflicts.size()) + " 件）\r\n"_sj;
    }

    auto entry = std::make_unique<ScheduleEntry>(startTime, endTime, std::move(startText), std::move(endText),
                                                 std::move(business));
    entry->Format(line, year);
    m_schedules.push_back(std::move(entry));
    m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);

    answer += line;
    NoteChange();
}

bool ScheduleBook::AddRegistered(std::unique_ptr<ScheduleEntry> entry) {
    UpdateIndex();
    const bool conflict = m_index.AnyConflict(entry->GetStartTime(), entry->GetEndTime());
    m_schedules.push_back(std::move(entry));
    m_index.Add(m_schedules.back().get(), m_schedules.size() - 1);
    NoteChange();
    return conflict;
}

void ScheduleBook::QuerySchedules(const std::vector<std::string_view>& lineWords, std::string& answer) {
    if (lineWords.size() < 2 || (lineWords.size() == 2 && IsWholeListWord(lineWords[1]))) {
        ListSchedules(answer);
        return;
    }
    // The period: the next word, and a second one for a range.
    const std::size_t periodEnd = lineWords.size() > 3 ? 3 : lineWords.size();
    const std::vector<std::string_view> words(lineWords.begin() + 1,
                                              lineWords.begin() + static_cast<std::ptrdiff_t>(periodEnd));
    SchedulePeriod period;
    const int found = ReadQueryPeriod(words, PhraseContext::Now(), period, answer);
    if (found == 0)
        answer = NotAPeriodText(words[0]);
    else if (found > 0)
        ListSchedulesBetween(answer, period.fromTime, period.toTime);
}

bool ScheduleBook::PeriodQuery(std::string_view word, std::string& answer) {
    std::string_view periodWord;
    if (!SplitPeriodQuery(word, periodWord)) return false;
    SchedulePeriod period;
    const int found = ReadQueryPeriod({periodWord}, PhraseContext::Now(), period, answer);
    if (found == 0) return false;
    if (found > 0) ListSchedulesBetween(answer, period.fromTime, period.toTime);
    return true;
}

void ScheduleBook::ListSchedules(std::string& answer) { ListMatching(answer, true, 0, 0); }

void ScheduleBook::ListSchedulesBetween(std::string& answer, std::time_t fromTime, std::time_t toTime) {
    ListMatching(answer, false, fromTime, toTime);
}

void ScheduleBook::ListMatching(std::string& answer, bool all, std::time_t fromTime, std::time_t toTime) {
    std::size_t count = m_schedules.size();
    if (!all) {
        count = 0;
        for (auto& entry : m_schedules)
            if (entry->Overlaps(fromTime, toTime)) ++count;
    }
    StartTimeQueue queue(count);
    for (auto& entry : m_schedules)
        if (all || entry->Overlaps(fromTime, toTime)) queue.Insert(entry.get());
    if (queue.GetCount() == 0) {
        answer = LoadStringId(AnswerNoSchedules);
        return;
    }
    const std::string year = CurrentYearText();
    std::string& line = m_entryText;
    answer = LoadStringId(AnswerSchedulesFound);
    answer += "\r\n";
    bool first = true;
    while (ScheduleEntry* p = queue.RemoveTop()) {
        if (!first) answer += "\r\n";
        first = false;
        p->Format(line, year);
        answer += line;
    }
}

void ScheduleBook::SortSchedules() {
    const std::size_t n = m_schedules.size();
    StartTimeQueue queue(n);
    for (auto& entry : m_schedules) queue.Insert(entry.release());
    const std::size_t count = queue.GetCount();
    for (std::size_t i = 0; i < count; ++i) m_schedules[i].reset(queue.RemoveTop());
    m_indexValid = false;
}

void ScheduleBook::PurgePastSchedules() {
    const long long now = static_cast<long long>(CurrentClock().Now());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_schedules.size(); ++i) {
        const ScheduleEntry& e = *m_schedules[i];
        const long long t = e.GetEndText().empty() ? e.GetStartTime() : e.GetEndTime();
        if (t + 86400 < now) {
            m_schedules[i].reset();
            NoteChange();
            m_pastPurged = true;
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

void ScheduleBook::ClearContents() {
    m_schedules.clear();
    m_index.Clear();
    m_indexValid = true;
    m_changed = false;
    m_pastPurged = false;
}

}  // namespace nelo
