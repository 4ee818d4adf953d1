// What a front end hears from the notebook: the conversation pane's text, the modified
// state, the title, and which notebook data changed. A desktop main window implements
// this one interface (each call becomes a signal); the terminal program listens for
// the text only. Every call comes after the change, with the notebook consistent.
#pragma once

#include <string>

namespace nelo {

/// The parts of a notebook whose data can change: a combination of these bits.
enum NotebookPart : unsigned {
    MemosPart = 1u,
    SchedulesPart = 2u,
    VariablesPart = 4u,
    NamesPart = 8u,
    AllParts = MemosPart | SchedulesPart | VariablesPart | NamesPart,
};

class NotebookListener {
public:
    virtual ~NotebookListener() = default;

    /// Text (code page 932, lines separated by "\r\n") goes at the end of the pane.
    virtual void OnTextAppended(const std::string& /*text*/) {}
    /// The pane is emptied (a new or opened notebook, before its welcome).
    virtual void OnPaneCleared() {}
    /// The modified state changed; reported once a line, a dialog or a file operation
    /// has settled it, never in between.
    virtual void OnModifiedChanged(bool /*modified*/) {}
    /// The notebook's title changed (code page 932: the file name, or "無題").
    virtual void OnTitleChanged(const std::string& /*title*/) {}
    /// Stored data changed: a combination of NotebookPart.
    virtual void OnDataChanged(unsigned /*what*/) {}
};

}  // namespace nelo
