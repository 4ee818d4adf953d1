// \new, \open and \save, the start-up from the command line and the end of the input.
#include "cli/CliFileCommands.h"

#include "app/RecentFileList.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "platform/CodePage.h"

#include <cstdio>

namespace {

constexpr const char* kUsage = "usage: nelo-cli [--new] [FILE.nel]\n";

std::string Trimmed(const std::string& s) {
    auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string TitleUtf8(CCliSession& session) { return Cp932ToUtf8(session.GetApp().GetTitle()).text; }

}  // namespace

void RegisterFileCommands(CCliSession& session) {
    CRumoApp& app = session.GetApp();
    app.SetUnattended(!session.IsInteractive());
    app.SetPathPrompt([&session](std::string& path) {
        if (!session.IsInteractive()) {
            session.Notice("ファイル名がまだありません。\\save ファイル名 で保存してください。");
            return false;
        }
        std::string reply;
        if (!session.GetReader().Ask("保存するファイル名: ", reply)) return false;
        path = Trimmed(reply);
        return !path.empty();
    });

    session.AddCommand("new", "\\new", "新しいノートにする（変更の保存を確認）", [&session](const std::string&) {
        session.GetView().Flush();
        session.GetApp().NewWithQuestion();
        return true;
    });
    session.AddCommand("open", "\\open ファイル", "ノートのファイルを開く", [&session](const std::string& arg) {
        std::string path = Trimmed(arg);
        if (path.empty()) {
            session.Notice("使い方: \\open ファイル名");
            return true;
        }
        CRumoApp& a = session.GetApp();
        if (!a.GetPathName().empty() && AbsolutePath(path) == a.GetPathName()) {
            session.Notice(TitleUtf8(session) + " はすでに開いています。");
            return true;
        }
        session.GetView().Flush();
        a.OpenWithQuestion(path);
        return true;
    });
    session.AddCommand("save", "\\save [ファイル]", "ノートを保存する（ファイル名で別名保存）",
                       [&session](const std::string& arg) {
                           std::string path = Trimmed(arg);
                           CRumoApp& a = session.GetApp();
                           session.GetView().Flush();
                           bool ok = path.empty() ? a.DoFileSave() : a.OnSaveDocument(path);
                           if (ok) session.Notice("保存しました: " + a.GetPathName());
                           return true;
                       });
}

bool StartFromArguments(CCliSession& session, const std::vector<std::string>& args, int& status) {
    bool bNew = false;
    std::string file;
    bool bOptions = true;
    for (const std::string& a : args) {
        if (bOptions && (a == "-h" || a == "--help")) {
            std::fputs(kUsage, stdout);
            status = 0;
            return false;
        }
        if (bOptions && a == "--new") {
            bNew = true;
        } else if (bOptions && a == "--") {
            bOptions = false;
        } else if (bOptions && a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "nelo-cli: 不明なオプションです: %s\n%s", a.c_str(), kUsage);
            status = 2;
            return false;
        } else if (file.empty()) {
            file = a;
        } else {
            std::fprintf(stderr, "nelo-cli: ファイルは一つだけ指定できます。\n%s", kUsage);
            status = 2;
            return false;
        }
    }
    session.GetApp().StartUp(file, bNew);
    return true;
}

bool EndSession(CCliSession& session, bool bFinal) {
    CRumoApp& app = session.GetApp();
    if (!app.GetDocument().IsModified()) return true;
    session.GetView().Flush();
    if (!session.IsInteractive() || bFinal) {
        session.Notice("警告: " + TitleUtf8(session) + " への変更を保存せずに終了します。");
        return true;
    }
    // The terminal's end-of-file must not also answer the question.
    std::clearerr(stdin);
    if (app.SaveModified()) return true;
    session.Notice("終了を取り消しました。続けて入力できます。");
    return false;
}
