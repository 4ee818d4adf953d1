#include "cli/CliSession.h"

#include "cli/CliCommands.h"
#include "cli/CliFileCommands.h"
#include "cli/CliSignals.h"
#include "cli/TerminalText.h"
#include "conversation/TextFileInput.h"
#include "platform/CodePage.h"

#include <cstdio>
#include <string_view>

using namespace nelo;

CliSession::CliSession(bool interactive)
    : m_outTerminal(IsTerminal(stdout)),
      m_errTerminal(IsTerminal(stderr)),
      // A piped line is held whole only up to the length a line of a text file may have.
      m_reader(interactive, TextFileInput::kMaxLineBytes),
      m_messageBox(interactive ? std::function<bool(const std::string&, std::string&)>(
                                     [this](const std::string& p, std::string& r) { return m_reader.Ask(p, r); })
                               : std::function<bool(const std::string&, std::string&)>(),
                   m_errTerminal),
      m_view(stdout, interactive, m_outTerminal),
      m_notebookSession(m_profile, m_messageBox),
      m_dispatcher(m_notebookSession.GetNotebook()) {
    m_notebookSession.GetNotebook().AddListener(&m_view);
    RegisterBasicCommands(*this);
    RegisterFileCommands(*this);
    RegisterListCommands(*this);
    RegisterCalendarCommands(*this);
}

CliSession::~CliSession() { m_notebookSession.GetNotebook().RemoveListener(&m_view); }

void CliSession::AddCommand(const std::string& name, const std::string& usage, const std::string& help,
                            CommandHandler handler) {
    m_commands.push_back({name, usage, help, std::move(handler)});
}

void CliSession::PrintHelp(std::FILE* out, bool full) {
    m_view.Flush();
    std::string text;
    if (full) text += kUsage + std::string("\n");
    text += "Nelo の端末版です。1 行ずつ入力すると、その行に答えます（「例」で入力例）。\n";
    if (full)
        text +=
            "\nオプション:\n"
            "  FILE.nel     このノートを開く（まだないファイルなら、その名前の新しいノートで始める）\n"
            "  --new        最近使ったノートを開かず、新しいノートで始める\n"
            "  --agenda [DAYS]\n"
            "               今から DAYS 日後の終わりまで（既定は 1: 今日の残りと明日）の予定を表示して終わる。\n"
            "               ノートは読むだけで書き換えない（予定がなければ「予定はありません。」）\n"
            "  --json       --agenda の予定を JSON（start, end, text, all_day の配列）で表示する\n"
            "  -h, --help   この説明を表示する\n"
            "  --version    版を表示する\n"
            "\n";
    text += "\\ で始まる行は端末のコマンドです:\n";
    for (const Command& c : m_commands) {
        // Pad to a column by display width: a full-width character takes two columns.
        std::string usage = c.usage;
        std::size_t width = 0;
        for (const char byte : usage) {
            const auto ch = static_cast<unsigned char>(byte);
            if (ch < 0x80)
                ++width;
            else if (ch >= 0xE0)
                width += 2;  // three-byte sequences here are full width
            else if (ch >= 0xC0)
                ++width;
        }
        if (width < 28) usage.append(28 - width, ' ');
        text += "  " + usage + " " + c.help + "\n";
    }
    text +=
        "ファイル名は \"…\" で囲めます。~/ はホームフォルダーです。\n"
        "端末では Ctrl-C で入力中の行を取り消し、Ctrl-D で終了します（未保存の変更があれば保存を確認）。\n";
    if (full)
        text +=
            "\n環境変数:\n"
            "  NELO_NOW=\"YYYY-MM-DD HH:MM:SS\"  時計をこの日時（現地時刻）に止める\n"
            "  NELO_CLOCK=running               NELO_NOW の日時から時計を進める\n"
            "  XDG_CONFIG_HOME   設定（最近使ったファイルなど）: ${XDG_CONFIG_HOME:-~/.config}/Vantor/Nelo.conf\n"
            "  XDG_STATE_HOME    復元用コピー（端末が閉じられたときなどの未保存の変更）:\n"
            "                    ${XDG_STATE_HOME:-~/.local/state}/Vantor/Nelo/\n";
    std::fputs(text.c_str(), out);
    std::fflush(out);
}

void CliSession::Notice(const std::string& utf8Text) {
    m_view.Flush();
    WriteShownText(stderr, utf8Text + "\n", m_errTerminal);
}

void CliSession::Print(const std::string& utf8Text) {
    m_view.Flush();
    WriteShownText(stdout, utf8Text, m_outTerminal);
}

void CliSession::SubmitLine(const std::string& utf8Line) {
    std::string_view line = utf8Line;
    std::string cleaned;
    if (line.find('\0') != std::string_view::npos) {
        // A NUL would end the line for every interpreter: keep what follows it too.
        for (char c : line)
            if (c != '\0') cleaned.push_back(c);
        line = cleaned;
        Notice("警告: 入力行の NUL 文字を取り除きました。");
    }
    m_line.clear();
    int replacedCount = AppendUtf8AsCp932(line, m_line);
    if (replacedCount > 0)
        Notice("警告: シフトJIS（コードページ932）にない文字 " + std::to_string(replacedCount) +
               " 個を「？」に置き換えました。");
    m_dispatcher.ProcessLine(m_line);
}

bool CliSession::RunCommand(const std::string& line) {
    auto space = line.find(' ');
    std::string name = line.substr(1, space == std::string::npos ? std::string::npos : space - 1);
    std::string argText = space == std::string::npos ? std::string() : line.substr(space + 1);
    argText.erase(0, argText.find_first_not_of(' '));
    for (const Command& c : m_commands)
        if (c.name == name) return c.handler(argText);
    Notice("不明なコマンドです: \\" + name + "（\\help で一覧）");
    return true;
}

int CliSession::Run(const std::vector<std::string>& args) {
    int status = 0;
    if (!StartFromArguments(*this, args, status)) return status;

    std::string line;
    for (;;) {
        if (int signo = PendingTermination()) return EndFromOutside(*this, signo);
        if (m_reader.ReadLine(line)) {
            if (!TakeLine(line) && EndSession(*this)) break;
            continue;
        }
        if (PendingTermination()) continue;
        if (TakeInterrupt()) continue;  // the line being typed is gone; a fresh prompt
        if (IsInteractive() && m_reader.IsInputGone()) return EndFromOutside(*this, 0);
        if (EndSession(*this)) break;
    }
    m_view.Flush();
    // A script learns that its notebook was not written.
    return !IsInteractive() && m_saveFailed ? 1 : 0;
}

bool CliSession::TakeLine(const std::string& line) {
    if (m_reader.WasLineTooLong()) {
        Notice("入力行が長すぎるため処理しませんでした（1 行 " + std::to_string(TextFileInput::kMaxLineBytes >> 20) +
               " MB まで）。");
        return true;
    }
    if (line.empty()) return true;
    bool goOn = true;
    if (line[0] == '\\')
        goOn = RunCommand(line);
    else
        SubmitLine(line);
    // Ctrl-C pressed while the line was being handled has no line left to clear.
    TakeInterrupt();
    return goOn;
}
