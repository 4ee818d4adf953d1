// The notebook's file: the two names, the variables, the schedules and the memos, in
// that order, with nothing before or after.
#include "notebook/NotebookSerialize.h"

#include "notebook/Notebook.h"
#include "memo/MemoSerialize.h"
#include "platform/Archive.h"
#include "platform/ByteSink.h"

namespace nelo {

void Notebook::Serialize(Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteString(m_responderName);
        ar.WriteString(m_userName);
    } else {
        ar.ReadString(m_responderName);
        ar.ReadString(m_userName);
    }
    m_calc.Serialize(ar);
    m_scheduleBook.Serialize(ar);
    SerializeMemoMap(ar, m_memoMap);
}

std::string SaveNotebookBytes(Notebook& notebook) {
    // Through the same buffered path as a file, so both give the same bytes.
    std::string bytes;
    StringSink sink(bytes);
    SaveDocument(notebook, sink);
    return bytes;
}

namespace {

// Passes bytes on while the file stays within the notebook limit.
class LimitedSink : public ByteSink {
public:
    explicit LimitedSink(ByteSink& sink) : m_sink(sink) {}
    void Write(const char* p, std::size_t n) override {
        if (n > kMaxNotebookBytes - m_written) {
            // The reason in UTF-8, as the system's reasons are.
            const std::string what = "ノートが大きすぎます（" + std::to_string(kMaxNotebookBytes >> 20) + " MB まで）";
            throw ArchiveException(what.c_str());
        }
        m_written += n;
        m_sink.Write(p, n);
    }

private:
    ByteSink& m_sink;
    std::size_t m_written = 0;
};

}  // namespace

void SaveDocument(Notebook& notebook, ByteSink& sink) {
    LimitedSink limited(sink);
    Archive ar(limited);
    notebook.Serialize(ar);
    ar.Flush();
}

void LoadNotebookBytes(Notebook& notebook, const std::string& bytes) {
    Archive ar(bytes.data(), bytes.size());
    notebook.Serialize(ar);
    // Nothing follows the memos: extra bytes mean a count or a length was damaged, and
    // what was read would lose records at the next save.
    ar.ExpectEnd();
}

void TakeFileContents(Notebook& notebook, Notebook& loaded) {
    notebook.ClearContents();
    notebook.m_responderName = std::move(loaded.m_responderName);
    notebook.m_userName = std::move(loaded.m_userName);
    notebook.m_calc.TakeVariables(loaded.m_calc);
    notebook.m_scheduleBook.TakeSchedules(loaded.m_scheduleBook);
    notebook.m_memoMap = std::move(loaded.m_memoMap);
    notebook.OnContentsReplaced();
}

}  // namespace nelo
