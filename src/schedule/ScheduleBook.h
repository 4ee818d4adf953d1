// The command processor: schedule lines, the schedule query, the date questions and the
// year and unit words. It owns the schedule list.
#pragma once

#include "dates/WorkingDate.h"
#include "schedule/ScheduleEntry.h"
#include "schedule/ScheduleIndex.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nelo {

/// A command word and its code (1 weekday, 2 age, 3 base date, 4 day count, 5 schedules).
struct CmdWord {
    const char* word;
    int code;
};

/// The command words, matched against the whole first word of a line.
extern const CmdWord g_cmdWords[10];
/// The suffix words, matched against the last two bytes of the first word (0 era, 1-10 units).
extern const CmdWord g_unitWords[12];

class ScheduleBook {
public:
    /// A command processor with a base date of its own (a list read from a file, tests).
    ScheduleBook();
    /// A command processor whose date questions use the notebook's base date.
    explicit ScheduleBook(WorkingDate& date);
    ScheduleBook(const ScheduleBook&) = delete;
    ScheduleBook& operator=(const ScheduleBook&) = delete;

    /// Answers a line of route Command; 0 (answer untouched) when the line is none of its forms.
    int DoCommand(std::string& answer, const std::string& text);
    /// The command-word stage for a first word that is not a date; 0 when it is no command.
    int DoKeywordCommand(const std::string& word, std::string& answer);
    /// Answers a date question (m_command 1-4) about the next word of the line.
    int DateQuestion(std::string& answer);
    /// Code 0: the era conversion of a year word; codes 1-10: a traditional unit.
    int ConvertCommand(int code, const std::string& word, std::string& answer);
    /// Lists every entry in start order.
    int ListSchedules(std::string& answer);
    /// Lists, in start order, the entries that overlap the seconds fromTime to toTime.
    int ListSchedulesBetween(std::string& answer, std::time_t fromTime, std::time_t toTime);
    /// The schedule query 「予定」: every entry, or with a period or date after it
    /// (「予定　来週」, 「予定　１２／２５」, 「予定　６／１　６／３０」) the entries of that
    /// period; words that name no period are refused in words.
    int QuerySchedules(std::string& answer);
    /// The conflict answer shows at most this many entries and counts the rest.
    static constexpr std::size_t kMaxConflictLines = 50;

    /// Adds an entry, answering the entries it conflicts with and its own line.
    int RegisterSchedule(const std::string& startText, const std::string& endText, const std::string& business,
                         std::string& answer, std::int32_t startTime, std::int32_t endTime);
    /// Adds an entry as a registration does (the list counts as changed) but without
    /// an answer; true when it meets an entry already stored.
    bool AddRegistered(std::unique_ptr<ScheduleEntry> entry);
    /// Registers an entry given as its words (a start phrase, an end phrase or empty, the
    /// business) as a typed line of these words is registered: the same date rules, the
    /// same conflict answer, the same refusals. 1 when the entry was added.
    int RegisterPhrases(const std::string& startPhrase, const std::string& endPhrase, const std::string& business,
                        std::string& answer);
    /// True for a word of g_cmdWords.
    static bool IsCommandWord(std::string_view word);
    /// The base date of the date questions.
    WorkingDate& GetWorkingDate() { return *m_date; }

    /// Orders the list by start time (equal starts in the order the heap gives).
    void SortSchedules();
    /// Removes the entries that ended more than 24 hours ago.
    void PurgePastSchedules();
    /// Deletes the entry at list position pos (the schedule list dialog); false when
    /// there is none.
    bool DeleteSchedule(std::size_t pos);
    /// Appends an entry as it is, setting no flag (loading, and tests building a list).
    void AddSchedule(std::unique_ptr<ScheduleEntry> entry);
    /// Takes the entries and the purge notice of another list (a file just read); the
    /// other list is left empty.
    void TakeSchedules(ScheduleBook& from);
    /// Deletes every entry and clears both flags.
    void DeleteContents();
    void Serialize(class Archive& ar);

    /// The stored entries, in list order.
    const std::vector<std::unique_ptr<ScheduleEntry>>& GetSchedules() const { return m_schedules; }

    /// The change flag: the list changed since the last new, opened or saved notebook.
    bool IsChanged() const { return m_schedChanged == 1; }
    void SetChanged() { m_schedChanged = 1; }
    void ClearChanged() { m_schedChanged = 0; }
    /// Counts the list's changes (never goes back), so that the document can tell its
    /// listeners which data moved.
    unsigned GetChangeCount() const { return m_changes; }
    /// Past entries were removed when the notebook was loaded.
    bool IsPastPurged() const { return m_pastPurged == 1; }

    int m_command = 0;  ///< code of the last command word answered

private:
    // The entries that overlap fromTime..toTime in start order (all of them when all).
    int ListMatching(std::string& answer, bool all, std::time_t fromTime, std::time_t toTime);
    // 「今日の予定」: 1 with the answer when the word asks for the entries of a period; 0
    // when it is not such a query.
    int PeriodQuery(const std::string& word, std::string& answer);
    void NoteChange() {
        m_schedChanged = 1;
        ++m_changes;
    }
    // Indexes the list afresh when an operation that reorders or removes entries left
    // the index behind.
    void UpdateIndex();

    std::vector<std::unique_ptr<ScheduleEntry>> m_schedules;  // the stored entries, owned
    int m_schedChanged = 0;                                   // see IsChanged
    int m_pastPurged = 0;                                     // see IsPastPurged
    unsigned m_changes = 0;                                   // see GetChangeCount

    std::string m_line;                     // the prepared line
    std::vector<std::string_view> m_words;  // its words (into m_line)
    std::string m_dateOut;                  // a date answer before the full-width conversion
    WorkingDate m_ownDate;                  // the base date when no notebook hands one
    WorkingDate* m_date;                    // the base date in use
    ScheduleIndex m_index;                  // conflict index over m_schedules, when m_indexValid
    bool m_indexValid = true;
};

}  // namespace nelo
