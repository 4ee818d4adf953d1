// Export of every memo to a comma-separated file that a spreadsheet opens: one line
// per attribute pair, object name, attribute name, value; code page 932, CR LF.
#pragma once

#include <string>

namespace nelo {

class MemoMap;
class MessageBox;

/// The export file's name in the current directory, as the file system spells it.
extern const char* const kMemoCsvFileName;

/// What the file is written in: code page 932 with CR LF (spreadsheets on Japanese
/// systems), or UTF-8 with LF (spreadsheet programs on Linux).
enum class CsvEncoding { Cp932CrLf, Utf8Lf };

/// Appends one field: as it is, or in double quotes (inner quotes doubled) when it
/// holds a comma, a double quote, CR or LF. A field that a spreadsheet would run as a
/// formula (one that starts with "=", "+", "-", "@", their full-width forms, a tab or
/// CR) gets an apostrophe in front, which makes it text; a plain number such as "-5"
/// or "+1.5" stays a number.
void AppendCsvField(std::string& out, const std::string& field);

/// The whole file: every memo in the map's order, every pair in registration order.
std::string FormatMemoCsv(const MemoMap& memoMap, CsvEncoding encoding = CsvEncoding::Cp932CrLf);

class MemoCsvExport {
public:
    /// path: the file to write; the memo list uses kMemoCsvFileName.
    explicit MemoCsvExport(MessageBox& messageBox, std::string path = kMemoCsvFileName,
                           CsvEncoding encoding = CsvEncoding::Cp932CrLf)
        : m_messageBox(messageBox), m_path(std::move(path)), m_encoding(encoding) {}

    /// The file's name as the messages give it (code page 932); without it, the path
    /// given, or "ＮＥＬＯメモ.csv" when that is the file's name.
    void SetFileNameText(std::string name) { m_nameText = std::move(name); }
    /// Replaces an existing file without asking (the user said so beforehand).
    void SetOverwrite(bool overwrite) { m_overwrite = overwrite; }

    /// Asks before overwriting, writes the file and tells how it went; true when the
    /// file was written. A folder, FIFO or device node at the path is refused.
    bool Export(const MemoMap& memoMap);

private:
    std::string NameText() const;

    MessageBox& m_messageBox;
    std::string m_path;
    CsvEncoding m_encoding;
    std::string m_nameText;
    bool m_overwrite = false;
};

}  // namespace nelo
