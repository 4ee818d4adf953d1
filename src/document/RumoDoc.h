// The notebook document: it owns the calculator (variables, memory register), the
// command processor (schedules), the memos and the two names, and every answer reaches
// the conversation panes through it.
#pragma once

#include "calc/CalcNum.h"
#include "document/View.h"
#include "memo/MemoMap.h"
#include "schedule/CmdPro.h"

#include <string>
#include <vector>

class CRumoDoc {
public:
    CRumoDoc();
    ~CRumoDoc();
    CRumoDoc(const CRumoDoc&) = delete;
    CRumoDoc& operator=(const CRumoDoc&) = delete;

    /// Empties the contents and restores the default names.
    bool OnNewDocument();
    /// Empties variables, schedules and memos; names and flags stay.
    void DeleteContents();
    void Serialize(class CArchive& ar);

    /// Appends text to every conversation pane of the document (the answer path).
    void AppendToViews(const std::string& text);
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }

    /// Registers a memo line; always returns 1.
    int RegisterMemo(std::string& answer, const std::string& line);
    /// Answers what is stored for an object; always returns 1.
    int QueryMemo(std::string& answer, const std::string& object);
    /// Answers the fixed words, example pages and version; always returns 1.
    int Converse(std::string& answer, const std::string& text);
    bool IsCancelWord(const std::string& text) const;

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }

    /// True when stored data changed: the rule applied after every answered line.
    bool AnyChangeFlag() const {
        return m_calc.m_bCalcChanged == 1 || m_cmdPro.m_bSchedChanged == 1 || m_bMemoChanged == 1;
    }

    CCalcNum m_calc;
    CCmdPro m_cmdPro;
    CMemoMap m_memoMap;
    int m_bMemoChanged = 0;
    std::string m_strResponderName;
    std::string m_strUserName;
    int m_bNamePrefix = 0;

private:
    std::vector<CView*> m_views;
    bool m_bModified = false;
};
