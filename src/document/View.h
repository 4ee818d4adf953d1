// What the document knows of a pane that shows it: text is appended to it, it can be
// emptied, and it prepares itself for a new or opened document. The conversation pane
// (view/RumoView.h) and each front end's pane derive from it.
#pragma once

#include <string>

class CRumoDoc;

class CView {
public:
    virtual ~CView() = default;

    /// Puts text (code page 932, lines separated by "\r\n") at the end of the pane.
    virtual void AppendText(const std::string& text) = 0;
    /// Empties the pane.
    virtual void ClearText() = 0;
    /// Prepares the pane for a new or opened document.
    virtual void OnInitialUpdate(CRumoDoc& doc) = 0;
};
