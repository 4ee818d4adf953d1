#include "memo/MemoCsvExport.h"

#include "memo/MemoMap.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <sys/stat.h>

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

std::string FormatMemoCsv(const CMemoMap& memoMap) {
    std::string text;
    memoMap.ForEach([&text](const std::string&, const CMemo& memo) {
        for (std::size_t i = 0; i < memo.GetPairCount(); ++i) {
            AppendCsvField(text, memo.m_strObject);
            text += ',';
            AppendCsvField(text, memo.m_attrNames[i]);
            text += ',';
            AppendCsvField(text, memo.m_attrValues[i]);
            text += "\r\n";
        }
    });
    return text;
}

bool CMemoCsvExport::Export(const CMemoMap& memoMap) {
    struct stat st;
    if (stat(m_strPath.c_str(), &st) == 0 &&
        m_messageBox.Show("ＮＥＬＯメモ.csvファイルがあります。上書きしますか。"_sj, "", MbButtons::YesNo,
                          MbIcon::Exclamation) != MbAnswer::Yes)
        return false;

    // The file is replaced in one step, so a failed write never leaves half a file
    // behind and is never reported as success.
    std::string error;
    if (!WriteFileAtomically(m_strPath, FormatMemoCsv(memoMap), error)) {
        m_messageBox.Show(
            std::string("ＮＥＬＯメモ.csvファイルを開けませんでした。"_sj) + "(" + Utf8ToCp932(error).text + ")",
            "エラー"_sj, MbButtons::Ok);
        return false;
    }
    m_messageBox.Show("ＮＥＬＯメモ.csvを作成しました"_sj, "", MbButtons::Ok);
    return true;
}
