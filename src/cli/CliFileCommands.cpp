// \new, \open and \save, the start-up from the command line and the end of the session.
#include "cli/CliFileCommands.h"

#include "app/RecentFileList.h"
#include "app/RecoveryCopy.h"
#include "app/StartArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliOverwrite.h"
#include "cli/CliPath.h"
#include "cli/CliSession.h"
#include "cli/CliSignals.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/FileStamp.h"

#include <cstdio>

using namespace nelo;

namespace {

std::string TitleUtf8(CliSession& session) { return Cp932ToUtf8(session.GetNotebookSession().GetTitle()).text; }

/// True when path names the notebook's own file (by its name, or as the same file).
bool IsNotebookFile(NotebookSession& app, const std::string& path) {
    const std::string& own = app.GetPathName();
    if (own.empty()) return false;
    if (AbsolutePath(path) == own) return true;
    FileStamp a, b;
    return GetFileStamp(path, a) && GetFileStamp(own, b) && a.device == b.device && a.inode == b.inode;
}

}  // namespace

void RegisterFileCommands(CliSession& session) {
    NotebookSession& app = session.GetNotebookSession();
    app.SetUnattended(!session.IsInteractive());
    app.SetPathPrompt([&session](std::string& path) {
        if (!session.IsInteractive()) {
            session.Notice("ファイル名がまだありません。\\save ファイル名 で保存してください。");
            return false;
        }
        std::string reply;
        if (!session.GetReader().Ask("保存するファイル名: ", reply)) return false;
        path = PathArgument(reply);
        if (path.empty()) return false;
        path = WithNotebookExtension(path);
        return MayReplaceFile(session, path, false, true, "\\save");
    });

    session.AddCommand("new", "\\new", "新しいノートにする（変更の保存を確認）", [&session](const std::string&) {
        session.GetView().Flush();
        session.GetNotebookSession().NewWithQuestion();
        return true;
    });
    session.AddCommand("open", "\\open ファイル", "ノートのファイルを開く", [&session](const std::string& arg) {
        std::string path = PathArgument(arg);
        if (path.empty()) {
            session.Notice("使い方: \\open ファイル名");
            return true;
        }
        NotebookSession& a = session.GetNotebookSession();
        if (!a.GetPathName().empty() && AbsolutePath(path) == a.GetPathName()) {
            session.Notice(TitleUtf8(session) + " はすでに開いています。");
            return true;
        }
        session.GetView().Flush();
        a.OpenWithQuestion(path);
        return true;
    });
    session.AddCommand("save", "\\save [--force] [ファイル]",
                       "ノートを保存する（ファイル名で別名保存、拡張子がなければ .nel、--force: 確認せずに上書き）",
                       [&session](const std::string& arg) {
                           std::string argText = arg;
                           const bool force = TakeForceOption(argText);
                           std::string path = PathArgument(argText);
                           NotebookSession& a = session.GetNotebookSession();
                           session.GetView().Flush();
                           bool ok;
                           if (path.empty()) {
                               ok = a.DoFileSave();
                           } else {
                               path = WithNotebookExtension(path);
                               // Another file of that name is replaced only when the user says so.
                               ok = (IsNotebookFile(a, path) || MayReplaceFile(session, path, force, true, "\\save")) &&
                                    a.SaveNotebookTo(path);
                           }
                           session.SetSaveFailed(!ok);
                           if (ok) session.Notice("保存しました: " + a.GetPathName());
                           return true;
                       });
}

bool StartFromArguments(CliSession& session, const std::vector<std::string>& args, int& status) {
    StartArguments start;
    switch (start.Parse(args)) {
    case StartArguments::Run: break;
    case StartArguments::Help:
        session.PrintHelp(stdout, true);
        status = 0;
        return false;
    case StartArguments::Version:
        std::printf("nelo-cli (%s) %s\n", NotebookSession::kAppName, NotebookSession::kVersion);
        status = 0;
        return false;
    case StartArguments::UnknownOption:
        std::fprintf(stderr, "nelo-cli: 不明なオプションです: %s\n%s", start.bad.c_str(), CliSession::kUsage);
        status = 2;
        return false;
    case StartArguments::TwoFiles:
        std::fprintf(stderr, "nelo-cli: ファイルは一つだけ指定できます。\n%s", CliSession::kUsage);
        status = 2;
        return false;
    }
    const bool startNew = start.startNew;
    const std::string& file = start.file;
    std::string clockMessage;
    if (!CheckFrozenClockSetting(clockMessage)) {
        std::fprintf(stderr, "nelo-cli: %s\n", clockMessage.c_str());
        status = 2;
        return false;
    }
    if (!session.GetNotebookSession().StartUp(file, startNew)) {
        // Piped lines must not land in another notebook than the one named.
        status = 1;
        return false;
    }
    if (session.IsInteractive()) {
        std::vector<std::string> copies = TakeUnmentionedRecoveryCopies();
        if (!copies.empty()) {
            std::string text = "前回保存されなかった変更の復元用コピーがあります（nelo-cli ファイル名 で開けます）:";
            for (const std::string& c : copies) text += "\n  " + c;
            session.Notice(text);
        }
    }
    return true;
}

bool EndSession(CliSession& session) {
    NotebookSession& app = session.GetNotebookSession();
    if (!app.GetNotebook().IsModified()) return true;
    session.GetView().Flush();
    if (!session.IsInteractive()) {
        session.Notice("警告: " + TitleUtf8(session) + " への変更を保存せずに終了します。");
        return true;
    }
    // Only "n" discards: cancel, Ctrl-D, Ctrl-C or a failed save go on reading, and the
    // next end of input asks again.
    if (app.SaveModified()) return true;
    if (!session.GetReader().IsInputGone() && PendingTermination() == 0)
        session.Notice("終了を取り消しました。続けて入力できます。");
    return false;
}

namespace {

// Writes the recovery copy of unsaved changes and says where it went, after why the
// program ends.
void SaveRecoveryCopy(CliSession& session, const std::string& why) {
    NotebookSession& app = session.GetNotebookSession();
    if (!app.GetNotebook().IsModified()) return;
    std::string path, error;
    if (WriteRecoveryCopy(app.GetNotebook(), app.GetPathName(), path, error))
        session.Notice(why + "保存されていない変更を復元用のコピーに保存しました: " + path);
    else
        session.Notice(why + "復元用のコピーを保存できませんでした（" + error + "）。変更は失われます。");
}

}  // namespace

int EndFromOutside(CliSession& session, int signo) {
    // The copy first: the conversation's reader may have gone with the terminal.
    SaveRecoveryCopy(session, "終了します。");
    session.GetView().Flush();
    return signo != 0 ? 128 + signo : 1;
}

int EndOutOfMemory(CliSession& session) {
    SaveRecoveryCopy(session, "メモリが足りなくなったため終了します。");
    if (!session.GetNotebookSession().GetNotebook().IsModified())
        session.Notice("メモリが足りなくなったため終了します。");
    session.GetView().Flush();
    return 1;
}
