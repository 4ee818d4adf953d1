// The terminal's side of the dialogs: \vars, \schedules, \memos, \export, \names and
// \read. Each command runs the dialog's logic the way a user would click it;
// rows are printed numbered from 1, message boxes go to stderr as usual.
#include "cli/CliCommands.h"
#include "cli/CliOverwrite.h"
#include "cli/CliPath.h"
#include "cli/CliSession.h"
#include "cli/CliSignals.h"
#include "conversation/TextFileInput.h"
#include "models/MemoListModel.h"
#include "models/ScheduleListModel.h"
#include "models/NamesModel.h"
#include "models/VariableListModel.h"
#include "memo/MemoCsvExport.h"
#include "platform/CodePage.h"
#include "text/Sjis.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace nelo;

namespace {

// The notice a typed line gets for characters without a code page 932 form.
void ReportReplaced(CliSession& session, int replacedCount) {
    session.Notice("警告: シフトJIS（コードページ932）にない文字 " + std::to_string(replacedCount) +
                   " 個を「？」に置き換えました。");
}

std::string ToCp932(CliSession& session, const std::string& utf8) {
    CodePageResult sj = Utf8ToCp932(utf8);
    if (sj.replacedCount > 0) ReportReplaced(session, sj.replacedCount);
    return sj.text;
}

// Writes lines (code page 932) to stdout after the conversation so far.
void PrintLines(CliSession& session, const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += Cp932ToUtf8(line).text;
        out += '\n';
    }
    session.Print(out);
}

// Rows numbered from 1: "1: text".
std::vector<std::string> Numbered(const std::vector<std::string>& rows) {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) lines.push_back(std::to_string(i + 1) + ": " + rows[i]);
    return lines;
}

// A row number as typed (1 = the first row) to a list index; -1 for anything that names
// no row, which the dialogs answer like a click with nothing selected.
int RowIndex(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    errno = 0;
    unsigned long long n = std::strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || n == 0 || n > static_cast<unsigned long long>(INT_MAX)) return -1;
    return static_cast<int>(n - 1);
}

// Blank-separated words; a word may be wrapped in double quotes to hold blanks or to be
// empty ("").
std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            auto close = text.find('"', i + 1);
            if (close == std::string::npos) close = text.size();
            word = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            auto end = text.find_first_of(" \t", i);
            if (end == std::string::npos) end = text.size();
            word = text.substr(i, end - i);
            i = end;
        }
        words.push_back(word);
    }
    return words;
}

// "delete OBJECT N" or "delete OBJECT": splits off a trailing row number.
void SplitObjectAndRow(const std::string& rest, std::string& object, std::string& row) {
    std::string text = rest;
    text.erase(0, text.find_first_not_of(" \t"));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    auto blank = text.find_last_of(" \t");
    if (blank != std::string::npos && text.find_first_not_of("0123456789", blank + 1) == std::string::npos) {
        row = text.substr(blank + 1);
        object = text.substr(0, blank);
        while (!object.empty() && (object.back() == ' ' || object.back() == '\t')) object.pop_back();
    } else {
        row.clear();
        object = text;
    }
    object = Unquote(object);
}

bool MemosCommand(CliSession& session, const std::string& argText) {
    Notebook& notebook = session.GetNotebook();
    MessageBox& mb = session.GetMessageBox();
    std::vector<std::string> words = SplitWords(argText);

    if (words.empty()) {
        RunMemoListCommand(notebook, mb, [&](MemoListModel& model) {
            if (model.GetObjectList().GetCount() == 0) session.Notice("メモはありません。");
            PrintLines(session, Numbered(model.GetObjectList().GetRows()));
        });
        return true;
    }

    if (argText == "delete" || argText.rfind("delete ", 0) == 0) {
        std::string rest = argText.substr(6);
        std::string object, row;
        SplitObjectAndRow(rest, object, row);
        if (object.empty()) {
            session.Notice("使い方: \\memos delete OBJECT [N]");
            return true;
        }
        std::string search = ToCp932(session, object);
        RunMemoListCommand(notebook, mb, [&](MemoListModel& model) {
            model.OnSearch(search);
            if (row.empty()) {
                model.OnDeleteObject();
            } else {
                model.SelectPair(RowIndex(row));
                model.OnDeleteAttribute();
            }
        });
        return true;
    }

    std::string search = ToCp932(session, Unquote(argText));
    RunMemoListCommand(notebook, mb, [&](MemoListModel& model) {
        model.OnSearch(search);
        int sel = model.GetObjectList().GetCurSel();
        if (sel < 0) {
            session.Notice("そのオブジェクトはありません。");
            return;
        }
        // The row may match with another letter case: say which object is shown.
        if (model.GetObjectList().GetText(sel) != search)
            session.Notice("オブジェクト: " + Cp932ToUtf8(model.GetObjectList().GetText(sel)).text);
        std::vector<std::string> lines;
        lines.reserve(static_cast<std::size_t>(model.GetNameList().GetCount()));
        for (int i = 0; i < model.GetNameList().GetCount(); ++i)
            lines.push_back(std::to_string(i + 1) + ": " + model.GetNameList().GetText(i) + "："_sj +
                            model.GetValueList().GetText(i));
        PrintLines(session, lines);
    });
    return true;
}

// The words of \vars and \schedules: none (list) or "delete N"; false for anything else.
bool ParseDeleteRow(const std::string& argText, bool& deleting, int& row) {
    std::vector<std::string> words = SplitWords(argText);
    deleting = false;
    row = -1;
    if (words.empty()) return true;
    if (words.size() != 2 || words[0] != "delete") return false;
    deleting = true;
    row = RowIndex(words[1]);
    return true;
}

bool VarsCommand(CliSession& session, const std::string& argText) {
    bool deleting;
    int row;
    if (!ParseDeleteRow(argText, deleting, row)) {
        session.Notice("使い方: \\vars [delete N]");
        return true;
    }
    RunVariablesCommand(session.GetNotebook(), session.GetMessageBox(), [&](VariableListModel& model) {
        if (deleting) {
            model.GetList().SetCurSel(row);
            model.OnDelete();
            return;
        }
        if (model.GetList().GetCount() == 0) session.Notice("変数はありません。");
        PrintLines(session, Numbered(model.GetList().GetRows()));
    });
    return true;
}

bool SchedulesCommand(CliSession& session, const std::string& argText) {
    bool deleting;
    int row;
    if (!ParseDeleteRow(argText, deleting, row)) {
        session.Notice("使い方: \\schedules [delete N]");
        return true;
    }
    RunSchedListCommand(session.GetNotebook(), session.GetMessageBox(), [&](ScheduleListModel& model) {
        if (deleting) {
            model.Select(row);
            model.OnDelete();
            return;
        }
        if (model.GetList().GetCount() == 0) session.Notice("予定はありません。");
        PrintLines(session, Numbered(model.GetList().GetRows()));
    });
    return true;
}

}  // namespace

void RegisterListCommands(CliSession& session) {
    session.AddCommand("vars", "\\vars [delete N]", "変数の一覧、N 番目の削除",
                       [&session](const std::string& arg) { return VarsCommand(session, arg); });
    session.AddCommand("schedules", "\\schedules [delete N]", "予定の一覧（開始順）、N 番目の削除",
                       [&session](const std::string& arg) { return SchedulesCommand(session, arg); });
    session.AddCommand("memos", "\\memos [OBJECT]", "メモ一覧（OBJECT: 検索してその属性を表示）",
                       [&session](const std::string& arg) { return MemosCommand(session, arg); });
    session.AddCommand("memos", "\\memos delete OBJECT [N]", "オブジェクト、またはその N 番目の属性を削除",
                       [&session](const std::string& arg) { return MemosCommand(session, arg); });
    session.AddCommand("export", "\\export [--force] [PATH]",
                       "メモを CSV に出力（既定: ＮＥＬＯメモ.csv、フォルダーならその中、--force: 確認せずに上書き）",
                       [&session](const std::string& arg) {
                           std::string argText = arg;
                           const bool force = TakeForceOption(argText);
                           std::string path = PathArgument(argText);
                           struct stat st;
                           if (!path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                               path += std::string(path.back() == '/' ? "" : "/") + kMemoCsvFileName;
                           if (path.empty()) path = kMemoCsvFileName;
                           // On a terminal the export asks its own question.
                           if (!MayReplaceFile(session, path, force, false, "\\export")) return true;
                           RunMemoListCommand(session.GetNotebook(), session.GetMessageBox(),
                                              [&path, force](MemoListModel& model) {
                                                  model.SetExportTarget(path);
                                                  model.SetExportOverwrite(force);
                                                  model.OnExport();
                                              });
                           return true;
                       });
    session.AddCommand("names", "\\names USER RESPONDER", "あなたの名前と回答者の名前（\"\" で空）",
                       [&session](const std::string& arg) {
                           std::vector<std::string> words = SplitWords(arg);
                           if (words.size() != 2) {
                               session.Notice("使い方: \\names USER RESPONDER");
                               return true;
                           }
                           std::string user = ToCp932(session, words[0]);
                           std::string responder = ToCp932(session, words[1]);
                           OnSettings(session.GetNotebook(), [&](NamesModel& model) {
                               model.SetUserName(user);
                               model.SetResponderName(responder);
                               model.OnOkButton();
                           });
                           return true;
                       });
    session.AddCommand("read", "\\read PATH", "テキストファイルの各行を入力したものとして処理",
                       [&session](const std::string& arg) {
                           std::string path = PathArgument(arg);
                           if (path.empty()) {
                               session.Notice("使い方: \\read PATH");
                               return true;
                           }
                           // Ctrl-C cancels the read; an end from outside (or a closed output)
                           // stops it at once, and the session then ends with its copy.
                           TextFileReadResult r = OnReadTextFile(
                               session.GetDispatcher(), session.GetMessageBox(), path,
                               [&session](int replacedCount) { ReportReplaced(session, replacedCount); },
                               [] { return AnySignalPending(); });
                           if (r.stopped && PendingTermination() == 0 && TakeInterrupt()) {
                               std::string counted = std::to_string(r.submittedCount);
                               if (r.lineCount >= 0) counted += " / " + std::to_string(r.lineCount);
                               session.Notice("テキスト読込みを取り消しました（" + counted + " 行）。");
                           }
                           return true;
                       });
}
