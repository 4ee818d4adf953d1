#include "memo/MemoCsvExport.h"

#include "memo/MemoMap.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

const char* const g_szMemoCsvFileName = "ＮＥＬＯメモ.csv";

void AppendCsvField(std::string& out, const std::string& field) {
    // Only quote, comma, CR and LF need quoting; none of them is ever the trail byte of
    // a double-byte character, so a byte search is safe.
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string FormatMemoCsv(const CMemoMap& memoMap, CsvEncoding encoding) {
    const char* eol = encoding == CsvEncoding::Utf8Lf ? "\n" : "\r\n";
    std::string text;
    memoMap.ForEach([&text, eol](const std::string&, const CMemo& memo) {
        for (std::size_t i = 0; i < memo.GetPairCount(); ++i) {
            AppendCsvField(text, memo.m_strObject);
            text += ',';
            AppendCsvField(text, memo.m_attrNames[i]);
            text += ',';
            AppendCsvField(text, memo.m_attrValues[i]);
            text += eol;
        }
    });
    if (encoding == CsvEncoding::Utf8Lf) return Cp932ToUtf8(text).text;
    return text;
}

std::string CMemoCsvExport::NameText() const {
    if (!m_strNameText.empty()) return m_strNameText;
    // The file the user chose, as given; the default file keeps its usual name.
    const auto slash = m_strPath.rfind('/');
    const std::string fileName = slash == std::string::npos ? m_strPath : m_strPath.substr(slash + 1);
    return Utf8ToCp932(fileName == g_szMemoCsvFileName ? fileName : m_strPath).text;
}

bool CMemoCsvExport::Export(const CMemoMap& memoMap) {
    const std::string name = NameText();
    std::string error;
    switch (ExamineWriteTarget(m_strPath, error)) {
    case WriteTarget::Missing: break;
    case WriteTarget::RegularFile:
        if (!m_bOverwrite && m_messageBox.Show(name + "ファイルがあります。上書きしますか。"_sj, "", MbButtons::YesNo,
                                               MbIcon::Exclamation) != MbAnswer::Yes)
            return false;
        break;
    case WriteTarget::Refused:
        // Never replaced by a regular file: a folder, a FIFO, a device node.
        m_messageBox.Show(name + "ファイルを開けませんでした。"_sj + "(" + Utf8ToCp932(error).text + ")", "エラー"_sj,
                          MbButtons::Ok);
        return false;
    }

    // The file is replaced in one step, so a failed write never leaves half a file
    // behind and is never reported as success.
    if (!WriteFileAtomically(m_strPath, FormatMemoCsv(memoMap, m_encoding), error)) {
        m_messageBox.Show(name + "ファイルを開けませんでした。"_sj + "(" + Utf8ToCp932(error).text + ")", "エラー"_sj,
                          MbButtons::Ok);
        return false;
    }
    m_messageBox.Show(name + "を作成しました"_sj, "", MbButtons::Ok);
    return true;
}
