// \ical and \ical-read: the schedules to and from a calendar file of other programs.
#include "calendar/ICalendar.h"
#include "cli/CliCommands.h"
#include "cli/CliOverwrite.h"
#include "cli/CliPath.h"
#include "cli/CliSession.h"
#include "notebook/NotebookListener.h"
#include "notebook/Notebook.h"
#include "platform/CodePage.h"

using namespace nelo;

namespace {

// The answer (code page 932, "\r\n" between lines) on stdout after the conversation,
// shown as the conversation is (control characters visible at a terminal).
void PrintAnswer(CliSession& session, const std::string& answer) {
    std::string text;
    for (char c : Cp932ToUtf8(answer).text)
        if (c != '\r') text += c;
    text += '\n';
    session.Print(text);
}

}  // namespace

void RegisterCalendarCommands(CliSession& session) {
    session.AddCommand(
        "ical", "\\ical PATH [--force]",
        "予定を iCalendar（.ics）ファイルに書き出す（ファイルがあれば確かめる。--force で確かめずに置き換え）",
        [&session](const std::string& argText) {
            std::string arg = argText;
            const bool force = TakeForceOption(arg);
            const std::string path = PathArgument(arg);
            if (path.empty()) {
                session.Notice("使い方: \\ical PATH [--force]");
                return true;
            }
            // A file already there is replaced only when the user says so:
            // asked at a terminal, with --force in a pipe.
            const ICalOverwrite overwrite = force                     ? ICalOverwrite::Force
                                            : session.IsInteractive() ? ICalOverwrite::Ask
                                                                      : ICalOverwrite::Refuse;
            std::string answer;
            ExportICalendarFile(session.GetNotebook().GetScheduleBook(), path, Utf8ToCp932(path).text,
                                session.GetMessageBox(), overwrite, answer);
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
                           Notebook& notebook = session.GetNotebook();
                           std::string answer;
                           ImportICalendarFile(notebook.GetScheduleBook(), path, Utf8ToCp932(path).text, answer);
                           // As after a registration: the notebook is modified when the list changed.
                           notebook.OnListClosed(SchedulesPart);
                           PrintAnswer(session, answer);
                           return true;
                       });
}
