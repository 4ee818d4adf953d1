#include "desktop/DesktopOptions.h"

#include "app/RumoApp.h"

#include <cstdio>

namespace {

void PrintHelp() {
    std::printf(
        "%s\n"
        "Nelo のデスクトップ版です。下の入力欄に 1 行ずつ入力して Enter を押すと、上の会話欄に答えます"
        "（「例」で入力例）。\n"
        "\nオプション:\n"
        "  FILE.nel     このノートを開く\n"
        "  --new        最近使ったノートを開かず、新しいノートで始める\n"
        "  -h, --help   この説明を表示する\n"
        "  --version    版を表示する\n"
        "\n環境変数:\n"
        "  NELO_NOW=\"YYYY-MM-DD HH:MM:SS\"  時計をこの時刻に止める\n"
        "  XDG_CONFIG_HOME                設定ファイル（Vantor/Nelo.conf）の置き場所\n"
        "  XDG_STATE_HOME                 復元用コピー（Vantor/Nelo/）の置き場所\n"
        "\n端末では nelo-cli が同じノートを扱います。\n",
        CDesktopOptions::kUsage);
}

}  // namespace

bool CDesktopOptions::Parse(const std::vector<std::string>& args, int& status) {
    bool bOptions = true;
    for (const std::string& a : args) {
        if (bOptions && (a == "-h" || a == "--help")) {
            PrintHelp();
            status = 0;
            return false;
        }
        if (bOptions && a == "--version") {
            std::printf("nelo (%s) %s\n", CRumoApp::kAppName, CRumoApp::kVersion);
            status = 0;
            return false;
        }
        if (bOptions && a == "--new") {
            bNew = true;
        } else if (bOptions && a == "--quit-after-first-paint") {
            bQuitAfterFirstPaint = true;
        } else if (bOptions && a == "--") {
            bOptions = false;
        } else if (bOptions && a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "nelo: 不明なオプションです: %s\n%s", a.c_str(), kUsage);
            status = 2;
            return false;
        } else if (strFile.empty()) {
            strFile = a;
        } else {
            std::fprintf(stderr, "nelo: ファイルは一つだけ指定できます。\n%s", kUsage);
            status = 2;
            return false;
        }
    }
    return true;
}
