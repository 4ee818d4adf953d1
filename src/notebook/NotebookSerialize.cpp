// The document's file: the two names, the variables, the schedules and the memos, in
// that order, with nothing before or after.
#include "notebook/NotebookSerialize.h"

#include "notebook/Notebook.h"
#include "memo/MemoSerialize.h"
#include "platform/Archive.h"
#include "platform/ByteSink.h"

namespace nelo {

void Notebook::Serialize(Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteString(m_strResponderName);
        ar.WriteString(m_strUserName);
    } else {
        ar.ReadString(m_strResponderName);
        ar.ReadString(m_strUserName);
    }
    m_calc.Serialize(ar);
    m_cmdPro.Serialize(ar);
    SerializeMemoMap(ar, m_memoMap);
}

std::string SaveDocumentBytes(Notebook& doc) {
    // Through the same buffered path as a file, so both give the same bytes.
    std::string bytes;
    StringSink sink(bytes);
    SaveDocument(doc, sink);
    return bytes;
}

namespace {

// Passes bytes on while the file stays within the notebook limit.
class LimitedSink : public ByteSink {
public:
    explicit LimitedSink(ByteSink& sink) : m_sink(sink) {}
    void Write(const char* p, std::size_t n) override {
        if (n > kMaxNotebookBytes - m_nWritten) {
            // The reason in UTF-8, as the system's reasons are.
            const std::string what = "ノートが大きすぎます（" + std::to_string(kMaxNotebookBytes >> 20) + " MB まで）";
            throw ArchiveException(ArchiveException::tooLarge, what.c_str());
        }
        m_nWritten += n;
        m_sink.Write(p, n);
    }

private:
    ByteSink& m_sink;
    std::size_t m_nWritten = 0;
};

}  // namespace

void SaveDocument(Notebook& doc, ByteSink& sink) {
    LimitedSink limited(sink);
    Archive ar(limited);
    doc.Serialize(ar);
    ar.Flush();
}

void LoadDocumentBytes(Notebook& doc, const std::string& bytes) {
    Archive ar(bytes.data(), bytes.size());
    doc.Serialize(ar);
    // Nothing follows the memos: extra bytes mean a count or a length was damaged, and
    // what was read would lose records at the next save.
    ar.ExpectEnd();
}

void TakeFileContents(Notebook& doc, Notebook& loaded) {
    doc.DeleteContents();
    doc.m_strResponderName = std::move(loaded.m_strResponderName);
    doc.m_strUserName = std::move(loaded.m_strUserName);
    doc.m_calc.m_mapSymbols = std::move(loaded.m_calc.m_mapSymbols);
    doc.m_cmdPro.TakeSchedules(loaded.m_cmdPro);
    doc.m_memoMap = std::move(loaded.m_memoMap);
    doc.OnContentsReplaced();
}

}  // namespace nelo
