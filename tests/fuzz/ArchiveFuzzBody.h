// What the loader fuzz target does with one input; shared by the libFuzzer entry point,
// the replay program and the corpus replay test, so all three check the same things.
#pragma once

#include "notebook/NotebookSerialize.h"
#include "notebook/Notebook.h"
#include "platform/Archive.h"
#include "platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

/// Loads bytes as a notebook. Anything may be refused, but nothing may crash, and what
/// loads must save, load again without complaint and save to the same bytes.
inline void FuzzArchiveOnce(const std::uint8_t* data, std::size_t size) {
    // A fixed clock: whether entries are past must not depend on when the fuzzer runs.
    static nelo::FixedClock s_clock(1054461600);  // 2003-06-01 10:00:00 UTC
    nelo::SetCurrentClock(&s_clock);
    std::string bytes(reinterpret_cast<const char*>(data), size);
    nelo::Notebook notebook;
    try {
        nelo::LoadNotebookBytes(notebook, bytes);
    } catch (const nelo::ArchiveException&) {
        return;
    }
    std::string saved = nelo::SaveNotebookBytes(notebook);
    nelo::Notebook again;
    nelo::LoadNotebookBytes(again, saved);
    if (nelo::SaveNotebookBytes(again) != saved) std::abort();
}
