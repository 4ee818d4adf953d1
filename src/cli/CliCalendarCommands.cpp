// \ical and \ical-read: the schedules to and from a calendar file of other programs.
#include "cli/CliCommands.h"
#include "cli/CliPath.h"
#include "cli/CliSession.h"
#include "document/DocListener.h"
#include "document/RumoDoc.h"
#include "platform/CodePage.h"
#include "schedule/ICalendar.h"

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

}  // namespace

void RegisterCalendarCommands(CCliSession& session) {
    session.AddCommand("ical", "\\ical PATH", "予定を iCalendar（.ics）ファイルに書き出す",
                       [&session](const std::string& arg) {
                           const std::string path = PathArgument(arg);
                           if (path.empty()) {
                               session.Notice("使い方: \\ical PATH");
                               return true;
                           }
                           std::string answer;
                           ExportICalendarFile(session.GetDocument().m_cmdPro, path, Utf8ToCp932(path).text, answer);
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
