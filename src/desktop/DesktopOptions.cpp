#include "desktop/DesktopOptions.h"

#include "app/NotebookSession.h"
#include "app/StartArguments.h"

#include <cstdio>

using namespace nelo;

namespace {

void PrintHelp() {
    std::printf(
        "%s\n"
        "Nelo のデスクトップ版です。下の入力欄に 1 行ずつ入力して Enter を押すと、上の会話欄に答えます"
        "（「例」で入力例）。\n"
        "\nオプション:\n"
        "  FILE.nel     このノートを開く\n"
        "  --new        最近使ったノートを開かず、新しいノートで始める\n"
        "  --minimized  ウィンドウを最小化して起動する（予定の通知だけを受ける）\n"
        "  -h, --help   この説明を表示する\n"
        "  --version    版を表示する\n"
        "\n環境変数:\n"
        "  NELO_NOW=\"YYYY-MM-DD HH:MM:SS\"  時計をこの時刻に止める\n"
        "  NELO_CLOCK=running             NELO_NOW の時刻から時計を進める\n"
        "  XDG_CONFIG_HOME                設定ファイル（Vantor/Nelo.conf）の置き場所\n"
        "  XDG_STATE_HOME                 復元用コピー（Vantor/Nelo/）の置き場所\n"
        "\n端末では nelo-cli が同じノートを扱います。\n",
        DesktopOptions::kUsage);
}

}  // namespace

bool DesktopOptions::Parse(const std::vector<std::string>& args, int& status) {
    StartArguments start;
    const StartArguments::Outcome outcome = start.Parse(args, [this](const std::string& option) {
        if (option == "--minimized") return minimized = true;
        if (option != "--quit-after-first-paint") return false;
        quitAfterFirstPaint = true;
        return true;
    });
    switch (outcome) {
    case StartArguments::Run:
        startNew = start.startNew;
        file = start.file;
        return true;
    case StartArguments::Help:
        PrintHelp();
        status = 0;
        return false;
    case StartArguments::Version:
        std::printf("nelo (%s) %s\n", NotebookSession::kAppName, NotebookSession::kVersion);
        status = 0;
        return false;
    case StartArguments::UnknownOption:
        std::fprintf(stderr, "nelo: 不明なオプションです: %s\n%s", start.bad.c_str(), kUsage);
        break;
    case StartArguments::TwoFiles: std::fprintf(stderr, "nelo: ファイルは一つだけ指定できます。\n%s", kUsage); break;
    }
    status = 2;
    return false;
}
