// What the line fuzz target does with one input: every line of it goes through
// LineDispatcher::ProcessLine of one notebook that lives across inputs, so that whatever a
// line leaves behind (variables, the memory register, schedules, memos, the working
// date) meets the lines of later inputs.
#pragma once

#include "FuzzInput.h"
#include "conversation/LineDispatcher.h"
#include "notebook/NotebookSerialize.h"
#include "notebook/Notebook.h"
#include "platform/Archive.h"
#include "transcript/TranscriptView.h"

#include <cstdlib>
#include <memory>

namespace fuzz {

/// A notebook with its conversation pane and input pane logic.
struct LineSession {
    nelo::Notebook notebook;
    nelo::TextTranscript view;
    nelo::LineDispatcher sendView{notebook};
    int inputs = 0;

    LineSession() {
        notebook.ResetToNew();
        notebook.AddListener(&view);
        notebook.StartConversation();
    }
    ~LineSession() { notebook.RemoveListener(&view); }
};

}  // namespace fuzz

/// Inputs beyond this many bytes are cut: longer lines only repeat the same paths.
constexpr std::size_t kFuzzLineMaxBytes = 4096;
/// A fresh notebook after this many inputs keeps memory bounded.
constexpr int kFuzzLineResetEvery = 512;

/// Processes the lines of the input. Nothing may crash, and the notebook must always
/// save to bytes that load again.
inline void FuzzProcessLineOnce(const std::uint8_t* data, std::size_t size) {
    FreezeFuzzClock();
    static std::unique_ptr<fuzz::LineSession> s_session;
    if (!s_session || s_session->inputs >= kFuzzLineResetEvery) {
        s_session.reset();
        s_session = std::make_unique<fuzz::LineSession>();
    }
    fuzz::LineSession& s = *s_session;
    ++s.inputs;
    for (const std::string& line : FuzzLines(FuzzBytes(data, size, kFuzzLineMaxBytes))) s.sendView.ProcessLine(line);
    if (s.view.GetText().size() > (1u << 20)) s.view.ClearText();

    // Whatever the lines stored must survive the notebook file.
    std::string saved = nelo::SaveNotebookBytes(s.notebook);
    nelo::Notebook again;
    try {
        nelo::LoadNotebookBytes(again, saved);
    } catch (const nelo::ArchiveException&) {
        std::abort();
    }
}
