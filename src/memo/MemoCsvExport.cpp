#include "memo/MemoCsvExport.h"

#include "memo/MemoMap.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "text/Sjis.h"

#include <string_view>

namespace nelo {

const char* const kMemoCsvFileName = "ＮＥＬＯメモ.csv";

namespace {

// The full-width forms a Japanese spreadsheet also reads as the start of a formula.
const std::string kWidePlus = "＋"_sj, kWideMinus = "－"_sj, kWideEquals = "＝"_sj, kWideAt = "＠"_sj;

// The length of the sign, digit, comma or decimal point at the start of text (ASCII or
// full-width), 0 when there is none there.
std::size_t NumberCharAt(std::string_view text, std::size_t i, bool& isDigit) {
    const auto b = static_cast<unsigned char>(text[i]);
    isDigit = b >= '0' && b <= '9';
    if (isDigit || b == ',' || b == '.') return 1;
    if (b == 0x82 && i + 1 < text.size()) {
        const auto t = static_cast<unsigned char>(text[i + 1]);
        isDigit = t >= 0x4F && t <= 0x58;  // "０".."９"
        return isDigit ? 2 : 0;
    }
    if (b == 0x81 && i + 1 < text.size() && (text[i + 1] == 0x43 || text[i + 1] == 0x44)) return 2;  // "，" "．"
    return 0;
}

// A sign followed by digits, with commas and decimal points between them: a number the
// spreadsheet reads as a number, with no formula in it.
bool IsSignedNumber(std::string_view field, std::size_t signWidth) {
    bool digitLast = false, anyDigit = false;
    for (std::size_t i = signWidth; i < field.size();) {
        bool isDigit = false;
        std::size_t n = NumberCharAt(field, i, isDigit);
        if (n == 0 || (i == signWidth && !isDigit)) return false;
        anyDigit = anyDigit || isDigit;
        digitLast = isDigit;
        i += n;
    }
    return anyDigit && digitLast;
}

// True when a spreadsheet opening the file would take the field for a formula.
bool StartsAsFormula(std::string_view field) {
    if (field.empty()) return false;
    const char c = field[0];
    if (c == '=' || c == '@' || c == '\t' || c == '\r') return true;
    if (c == '+' || c == '-') return !IsSignedNumber(field, 1);
    auto starts = [field](const std::string& w) { return field.substr(0, w.size()) == w; };
    if (starts(kWideEquals) || starts(kWideAt)) return true;
    if (starts(kWidePlus) || starts(kWideMinus)) return !IsSignedNumber(field, 2);
    return false;
}

}  // namespace

void AppendCsvField(std::string& out, const std::string& field) {
    const bool formula = StartsAsFormula(field);
    // Only quote, comma, CR and LF need quoting; none of them is ever the trail byte of
    // a double-byte character, so a byte search is safe.
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        if (formula) out += '\'';
        out += field;
        return;
    }
    out += '"';
    if (formula) out += '\'';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string FormatMemoCsv(const MemoMap& memoMap, CsvEncoding encoding) {
    const char* eol = encoding == CsvEncoding::Utf8Lf ? "\n" : "\r\n";
    std::string text;
    memoMap.ForEach([&text, eol](const std::string&, const Memo& memo) {
        for (std::size_t i = 0; i < memo.GetPairCount(); ++i) {
            AppendCsvField(text, memo.GetObjectName());
            text += ',';
            AppendCsvField(text, memo.GetName(i));
            text += ',';
            AppendCsvField(text, memo.GetValue(i));
            text += eol;
        }
    });
    if (encoding == CsvEncoding::Utf8Lf) return Cp932ToUtf8(text).text;
    return text;
}

std::string MemoCsvExport::NameText() const {
    if (!m_nameText.empty()) return m_nameText;
    // The file the user chose, as given; the default file keeps its usual name.
    const auto slash = m_path.rfind('/');
    const std::string fileName = slash == std::string::npos ? m_path : m_path.substr(slash + 1);
    return Utf8ToCp932(fileName == kMemoCsvFileName ? fileName : m_path).text;
}

bool MemoCsvExport::Export(const MemoMap& memoMap) {
    const std::string name = NameText();
    std::string error;
    switch (ExamineWriteTarget(m_path, error)) {
    case WriteTarget::Missing: break;
    case WriteTarget::RegularFile:
        if (!m_overwrite && m_messageBox.Show(name + "ファイルがあります。上書きしますか。"_sj, "", MbButtons::YesNo,
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
    if (!WriteFileAtomically(m_path, FormatMemoCsv(memoMap, m_encoding), error)) {
        m_messageBox.Show(name + "ファイルを開けませんでした。"_sj + "(" + Utf8ToCp932(error).text + ")", "エラー"_sj,
                          MbButtons::Ok);
        return false;
    }
    m_messageBox.Show(name + "を作成しました"_sj, "", MbButtons::Ok);
    return true;
}

}  // namespace nelo
