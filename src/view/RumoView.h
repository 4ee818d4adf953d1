// The conversation pane: everything the user submitted and every answer accumulates
// here, behind the welcome text. The core keeps the logic (what is appended, the
// welcome of a new or opened document); a front end supplies where the text goes.
#pragma once

#include "document/View.h"

#include <string>

class CRumoView : public CView {
public:
    /// Prepares the pane for a new or opened document: clears it, writes the welcome
    /// text with the greeting of the hour, and turns on the answer prefix.
    void OnInitialUpdate(CRumoDoc& doc) override;

    /// The welcome text for a user at a local hour (purge notice excluded).
    static std::string WelcomeText(const std::string& userName, int hour);
};

/// A conversation pane that keeps its text in memory (tests, and front ends that draw
/// the text themselves).
class CTextRumoView : public CRumoView {
public:
    void AppendText(const std::string& text) override { m_strText += text; }
    void ClearText() override { m_strText.clear(); }
    const std::string& GetText() const { return m_strText; }

private:
    std::string m_strText;
};
