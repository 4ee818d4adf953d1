// The notebook: it owns the calculator (variables, memory register), the schedule book,
// the date commands, the memos and the two names; it routes a typed line to the one that answers it, and
// every answer reaches the conversation panes through it.
#pragma once

#include "calc/Calculator.h"
#include "dates/CommandLine.h"
#include "dates/DateCommands.h"
#include "dates/WorkingDate.h"
#include "notebook/NotebookListener.h"
#include "memo/MemoMap.h"
#include "schedule/ScheduleBook.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace nelo {

class Notebook {
public:
    Notebook();
    ~Notebook();
    Notebook(const Notebook&) = delete;
    Notebook& operator=(const Notebook&) = delete;

    /// Empties the contents and restores the default names.
    void ResetToNew();
    /// Empties variables, schedules and memos; names and flags stay.
    void ClearContents();
    void Serialize(class Archive& ar);

    void AddListener(NotebookListener* listener);
    void RemoveListener(NotebookListener* listener);

    /// Appends text to every conversation pane of the notebook (the answer path).
    void AppendToViews(const std::string& text);
    /// A new or opened notebook starts its conversation: every pane is emptied and shows
    /// the welcome (with the notice of removed past schedules, which then counts as a
    /// change), answers carry the responder's name, and the notebook is unmodified.
    void StartConversation();
    /// The welcome text for a user at a local hour (purge notice excluded).
    static std::string WelcomeText(const std::string& userName, int hour);

    /// Answers one typed line (code page 932, not empty, no line break): every pane shows
    /// the line after the user's name, the line goes to the interpreter its route names
    /// (see ClassifyLine), and every pane shows the answer, after the responder's name
    /// while names are shown. The caller ends with OnLineAnswered.
    void AnswerLine(const std::string& line);

    /// Registers a memo line.
    void RegisterMemo(std::string& answer, const std::string& line);
    /// Answers what is stored for an object.
    void QueryMemo(std::string& answer, const std::string& object);
    /// Answers the fixed words, example pages and version.
    void Converse(std::string& answer, const std::string& text);
    bool IsCancelWord(const std::string& text) const;

    /// Deletes an object's memo (the memo list); false when there is none.
    bool DeleteMemo(const std::string& object);
    /// Deletes pair i of an object's memo, and the memo with its last pair (the memo
    /// list); false when there is no such pair.
    bool DeleteMemoPair(const std::string& object, std::size_t i);
    /// The memos' change flag: a memo was registered or deleted since the notebook was
    /// last new, opened or saved.
    bool IsMemoChanged() const { return m_memoChanged; }
    void SetMemoChanged() { m_memoChanged = true; }
    void ClearMemoChanged() { m_memoChanged = false; }
    /// Stores a memo under its object name as it is, setting no flag (tests and benchmarks
    /// building a large notebook); an older memo of that object is replaced.
    void AddMemo(std::unique_ptr<Memo> memo);

    /// Stores the two names (the settings dialog); when either differs, the calculator's
    /// flag (the general one) is set and the notebook is modified. True when one changed.
    bool SetNames(const std::string& responderName, const std::string& userName);

    bool IsModified() const { return m_modified; }
    /// The one place the modified state is written; listeners hear when it changes.
    void SetModifiedFlag(bool modified = true);
    /// After an answered line: modified exactly when a change flag is set.
    void OnLineAnswered();
    /// After a list on one part of the notebook (MemosPart, SchedulesPart or
    /// VariablesPart) closed: modified when that part's flag is set.
    void OnListClosed(unsigned part);
    /// The notebook is as its file has it (New, Open, Save): every change flag cleared,
    /// unmodified.
    void SetClean();
    /// Every part of the notebook was replaced (New, Open): listeners hear it.
    void OnContentsReplaced();

    /// The title the listeners were told (code page 932).
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title);

    /// True when stored data changed: the rule applied after every answered line.
    bool AnyChangeFlag() const { return m_calc.IsChanged() || m_scheduleBook.IsChanged() || IsMemoChanged(); }

    Calculator& GetCalculator() { return m_calc; }
    const Calculator& GetCalculator() const { return m_calc; }
    ScheduleBook& GetScheduleBook() { return m_scheduleBook; }
    const ScheduleBook& GetScheduleBook() const { return m_scheduleBook; }
    /// The memos; they change through RegisterMemo, DeleteMemo and DeleteMemoPair.
    const MemoMap& GetMemos() const { return m_memoMap; }
    /// The name answers are shown after ("太郎" in a new notebook).
    const std::string& GetResponderName() const { return m_responderName; }
    /// The name typed lines are shown after ("花子" in a new notebook).
    const std::string& GetUserName() const { return m_userName; }
    /// Answers carry the responder's name (and a line no interpreter knows is answered
    /// "わかりません"): from the welcome on, and after a cancel word other than 「改行」.
    bool ShowsNames() const { return m_showsNames; }
    void SetShowsNames(bool shows) { m_showsNames = shows; }

private:
    void NoteMemoChange() {
        m_memoChanged = true;
        ++m_memoChanges;
    }
    /// Which parts changed since the last call (MemosPart | SchedulesPart | VariablesPart).
    unsigned TakeDataChanges();
    /// Tells the listeners which parts changed since they were last told.
    void ReportDataChanges();
    void NotifyDataChanged(unsigned what);

    // The base date of the date questions and of the calculator's date offsets.
    WorkingDate m_workDate;
    Calculator m_calc{m_workDate};
    DateCommands m_dateCommands{m_workDate};
    ScheduleBook m_scheduleBook;
    MemoMap m_memoMap;
    std::string m_responderName;
    std::string m_userName;
    bool m_showsNames = false;

    std::vector<NotebookListener*> m_listeners;
    bool m_memoChanged = false;
    unsigned m_memoChanges = 0;
    bool m_modified = false;
    bool m_reportedModified = false;  // what the listeners were last told
    std::string m_title;
    // The subsystems' change counts the listeners were last told about.
    unsigned m_seenCalcChanges = 0;
    unsigned m_seenSchedChanges = 0;
    unsigned m_seenMemoChanges = 0;
    // Reused from line to line.
    std::string m_handedOn;
    std::string m_asciiForm;    // the calculator's form of a line typed in ASCII (see ClassifyLine)
    CommandLine m_commandLine;  // a line of route Command in words, read once for its interpreters
    std::string m_answer;
    std::string m_out;

    // Moves a file's contents in (notebook/NotebookSerialize.cpp).
    friend void TakeFileContents(Notebook& notebook, Notebook& loaded);
};

}  // namespace nelo
