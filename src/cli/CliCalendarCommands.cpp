// \ical and \ical-read: the schedules to and from a calendar file of other programs.
#include "calendar/ICalendar.h"
#include "cli/CliCommands.h"
#include "cli/CliPath.h"
#include "cli/CliSession.h"
#include "document/DocListener.h"
#include "document/RumoDoc.h"
#include "platform/CodePage.h"

#include <cstdio>

namespace {

// The answer (code page 932, "\r\n" between lines) on stdout after the conversation.
void PrintAnswer(CCliSession& session, const std::string& answer) {
    session.GetView().Flush();
    std::string out = Cp932ToUtf8(answer).text;
    std::string text;
    for (char c : out)
        if (c != '\r') text += c;
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// Removes the word flag from the start or the end of a command's argument text; true
// when it was there.
bool TakeFlag(std::string& arg, const std::string& flag) {
    while (!arg.empty() && (arg.back() == ' ' || arg.back() == '\t')) arg.pop_back();
    if (arg == flag) {
        arg.clear();
        return true;
    }
    if (arg.compare(0, flag.size() + 1, flag + " ") == 0) {
        arg.erase(0, flag.size() + 1);
        return true;
    }
    if (arg.size() > flag.size() && arg.compare(arg.size() - flag.size(), flag.size(), flag) == 0 &&
        (arg[arg.size() - flag.size() - 1] == ' ' || arg[arg.size() - flag.size() - 1] == '\t')) {
        arg.erase(arg.size() - flag.size());
        return true;
    }
    return false;
}

}  // namespace

void RegisterCalendarCommands(CCliSession& session) {
    session.AddCommand(
        "ical", "\\ical PATH [--force]",
        "予定を iCalendar（.ics）ファイルに書き出す（ファイルがあれば確かめる。--force で確かめずに置き換え）",
        [&session](const std::string& argText) {
            std::string arg = argText;
            const bool bForce = TakeFlag(arg, "--force");
            const std::string path = PathArgument(arg);
            if (path.empty()) {
                session.Notice("使い方: \\ical PATH [--force]");
                return true;
            }
            // A file already there is replaced only when the user says so:
            // asked at a terminal, with --force in a pipe.
            const ICalOverwrite overwrite = bForce                    ? ICalOverwrite::Force
                                            : session.IsInteractive() ? ICalOverwrite::Ask
                                                                      : ICalOverwrite::Refuse;
            std::string answer;
            ExportICalendarFile(session.GetDocument().m_cmdPro, path, Utf8ToCp932(path).text, session.GetMessageBox(),
                                overwrite, answer);
            PrintAnswer(session, answer);
            return true;
        });
    session.AddCommand("ical-read", "\\ical-read PATH", "iCalendar（.ics）ファイルの予定を登録する",
                       [&session](const std::string& arg) {
                           const std::string path = PathArgument(arg);
                           if (path.empty()) {
                               session.Notice("使い方: \\ical-read PATH");
                               return true;
                           }
                           CRumoDoc& doc = session.GetDocument();
                           std::string answer;
                           ImportICalendarFile(doc.m_cmdPro, path, Utf8ToCp932(path).text, answer);
                           // As after a registration: the notebook is modified when the list changed.
                           doc.OnDialogClosed(DocSchedules);
                           PrintAnswer(session, answer);
                           return true;
                       });
}
