#include "cli/CliMessageBox.h"

#include "cli/TerminalText.h"
#include "platform/CodePage.h"

#include <cstdio>

using namespace nelo;

MbAnswer CliMessageBox::Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon) {
    std::string line = Cp932ToUtf8(caption.empty() ? std::string("Nelo") : caption).text;
    line += ": ";
    line += Cp932ToUtf8(text).text;
    if (buttons == MbButtons::Ok || !m_ask) {
        line += '\n';
        WriteShownText(stderr, line, m_errTerminal);
        switch (buttons) {
        case MbButtons::Ok:
        case MbButtons::OkCancel: return MbAnswer::Ok;
        default: return MbAnswer::Yes;
        }
    }
    const char* choices = buttons == MbButtons::OkCancel ? " [OK/cancel] "
                          : buttons == MbButtons::YesNo  ? " [y/N] "
                                                         : " [y/n/cancel] ";
    // A question is asked at the terminal: what it names is shown, never sent to it.
    std::string shown;
    AppendVisibleText(line, shown);
    line.swap(shown);
    for (;;) {
        std::string reply;
        if (!m_ask(line + choices, reply)) return buttons == MbButtons::YesNo ? MbAnswer::No : MbAnswer::Cancel;
        for (char& c : reply) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (buttons == MbButtons::OkCancel) {
            if (reply.empty() || reply == "ok" || reply == "o" || reply == "y" || reply == "yes") return MbAnswer::Ok;
            if (reply == "c" || reply == "cancel" || reply == "n" || reply == "no") return MbAnswer::Cancel;
        } else {
            if (reply == "y" || reply == "yes") return MbAnswer::Yes;
            // A yes-or-no question (replacing a file) is answered No by Enter alone.
            if (reply == "n" || reply == "no" || (reply.empty() && buttons == MbButtons::YesNo)) return MbAnswer::No;
            if (buttons == MbButtons::YesNoCancel && (reply == "c" || reply == "cancel")) return MbAnswer::Cancel;
        }
    }
}
