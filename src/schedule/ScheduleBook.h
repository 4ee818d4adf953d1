// The schedule book: registration of schedule lines, the schedule query 「予定」 and
// 「…の予定」, and the schedule list it owns.
#pragma once

#include "dates/CommandLine.h"
#include "schedule/ScheduleEntry.h"
#include "schedule/ScheduleIndex.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nelo {

class ScheduleBook {
public:
    ScheduleBook() = default;
    ScheduleBook(const ScheduleBook&) = delete;
    ScheduleBook& operator=(const ScheduleBook&) = delete;

    /// Answers a line of route Command that registers an entry (a line that starts with
    /// a date) or asks for entries (「予定」, 「予定　来週」, 「今日の予定」); false (answer
    /// untouched) when the line is none of these.
    bool Answer(const std::string& text, std::string& answer);
    /// As above, for a line already read (the notebook reads each line once for the
    /// schedule book and the date commands).
    bool Answer(const CommandLine& line, std::string& answer);
    /// Lists every entry in start order.
    void ListSchedules(std::string& answer);
    /// The conflict answer shows at most this many entries and counts the rest.
    static constexpr std::size_t kMaxConflictLines = 50;

    /// Adds an entry, answering the entries it conflicts with and its own line.
    void RegisterSchedule(std::string startText, std::string endText, std::string business, std::string& answer,
                          std::int32_t startTime, std::int32_t endTime);
    /// Adds an entry as a registration does (the list counts as changed) but without
    /// an answer; true when it meets an entry already stored.
    bool AddRegistered(std::unique_ptr<ScheduleEntry> entry);

    /// Orders the list by start time (equal starts in the order the heap gives).
    void SortSchedules();
    /// Removes the entries that ended more than 24 hours ago.
    void PurgePastSchedules();
    /// Deletes the entry at list position pos (the schedule list); false when
    /// there is none.
    bool DeleteSchedule(std::size_t pos);
    /// Appends an entry as it is, setting no flag (loading, and tests building a list).
    void AddSchedule(std::unique_ptr<ScheduleEntry> entry);
    /// Takes the entries and the purge notice of another list (a file just read); the
    /// other list is left empty.
    void TakeSchedules(ScheduleBook& from);
    /// Deletes every entry and clears both flags.
    void ClearContents();
    void Serialize(class Archive& ar);

    /// The stored entries, in list order.
    const std::vector<std::unique_ptr<ScheduleEntry>>& GetSchedules() const { return m_schedules; }

    /// The change flag: the list changed since the last new, opened or saved notebook.
    bool IsChanged() const { return m_changed; }
    void SetChanged() { m_changed = true; }
    void ClearChanged() { m_changed = false; }
    /// Counts the list's changes (never goes back), so that the notebook can tell its
    /// listeners which data moved.
    unsigned GetChangeCount() const { return m_changes; }
    /// Past entries were removed when the notebook was loaded.
    bool IsPastPurged() const { return m_pastPurged; }

private:
    // The schedule query 「予定」: every entry, or with a period or date after it
    // (「予定　来週」, 「予定　１２／２５」, 「予定　６／１　６／３０」) the entries of that
    // period; words that name no period are refused in words.
    void QuerySchedules(const std::vector<std::string_view>& lineWords, std::string& answer);
    // Lists, in start order, the entries that overlap the seconds fromTime to toTime.
    void ListSchedulesBetween(std::string& answer, std::time_t fromTime, std::time_t toTime);
    // The entries that overlap fromTime..toTime in start order (all of them when all).
    void ListMatching(std::string& answer, bool all, std::time_t fromTime, std::time_t toTime);
    // 「今日の予定」: true with the answer when the word asks for the entries of a period;
    // false when it is not such a query.
    bool PeriodQuery(std::string_view word, std::string& answer);
    void NoteChange() {
        m_changed = true;
        ++m_changes;
    }
    // Indexes the list afresh when an operation that reorders or removes entries left
    // the index behind.
    void UpdateIndex();

    std::vector<std::unique_ptr<ScheduleEntry>> m_schedules;  // the stored entries, owned
    bool m_changed = false;                                   // see IsChanged
    bool m_pastPurged = false;                                // see IsPastPurged
    unsigned m_changes = 0;                                   // see GetChangeCount

    CommandLine m_line;  // the line being answered
    // Buffers of a registration's answer, kept so that a registration allocates only
    // for the entry it stores.
    std::vector<std::size_t> m_conflicts;
    std::string m_entryText;
    ScheduleIndex m_index;  // conflict index over m_schedules, when m_indexValid
    bool m_indexValid = true;
};

}  // namespace nelo
