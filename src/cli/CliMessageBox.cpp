#include "cli/CliMessageBox.h"

#include "cli/TerminalText.h"
#include "platform/CodePage.h"

#include <cctype>
#include <cstdio>
#include <optional>

using namespace nelo;

namespace {

// A word the user may reply with, and the answer it gives.
struct ReplyWord {
    const char* word;
    MbAnswer answer;
};

// An OK-or-cancel question: Enter alone is OK.
constexpr ReplyWord kOkCancelReplies[] = {
    {"", MbAnswer::Ok},           {"ok", MbAnswer::Ok},    {"o", MbAnswer::Ok},
    {"y", MbAnswer::Ok},          {"yes", MbAnswer::Ok},   {"c", MbAnswer::Cancel},
    {"cancel", MbAnswer::Cancel}, {"n", MbAnswer::Cancel}, {"no", MbAnswer::Cancel},
};
// A yes-or-no question, with cancel where it is offered.
constexpr ReplyWord kYesNoReplies[] = {
    {"y", MbAnswer::Yes}, {"yes", MbAnswer::Yes},  {"n", MbAnswer::No},
    {"no", MbAnswer::No}, {"c", MbAnswer::Cancel}, {"cancel", MbAnswer::Cancel},
};

template <std::size_t N>
std::optional<MbAnswer> FindReply(const ReplyWord (&words)[N], const std::string& reply) {
    for (const ReplyWord& w : words)
        if (reply == w.word) return w.answer;
    return std::nullopt;
}

// What a reply (lower case) answers to the question; nothing when it answers none of its choices.
std::optional<MbAnswer> AnswerOfReply(const std::string& reply, MbButtons buttons) {
    if (buttons == MbButtons::OkCancel) return FindReply(kOkCancelReplies, reply);
    // A yes-or-no question (replacing a file) is answered No by Enter alone.
    if (reply.empty()) return buttons == MbButtons::YesNo ? std::optional<MbAnswer>(MbAnswer::No) : std::nullopt;
    const std::optional<MbAnswer> answer = FindReply(kYesNoReplies, reply);
    if (answer == MbAnswer::Cancel && buttons != MbButtons::YesNoCancel) return std::nullopt;
    return answer;
}

const char* ChoicesText(MbButtons buttons) {
    switch (buttons) {
    case MbButtons::OkCancel: return " [OK/cancel] ";
    case MbButtons::YesNo: return " [y/N] ";
    default: return " [y/n/cancel] ";
    }
}

// A question nobody is asked is taken as confirmed.
MbAnswer ConfirmedAnswer(MbButtons buttons) {
    switch (buttons) {
    case MbButtons::Ok:
    case MbButtons::OkCancel: return MbAnswer::Ok;
    default: return MbAnswer::Yes;
    }
}

}  // namespace

MbAnswer CliMessageBox::Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon) {
    std::string line = Cp932ToUtf8(caption.empty() ? std::string("Nelo") : caption).text;
    line += ": ";
    line += Cp932ToUtf8(text).text;
    if (buttons == MbButtons::Ok || !m_ask) {
        line += '\n';
        WriteShownText(stderr, line, m_errTerminal);
        return ConfirmedAnswer(buttons);
    }
    // A question is asked at the terminal: what it names is shown, never sent to it.
    std::string shown;
    AppendVisibleText(line, shown);
    const std::string prompt = shown + ChoicesText(buttons);
    for (;;) {
        std::string reply;
        if (!m_ask(prompt, reply)) return buttons == MbButtons::YesNo ? MbAnswer::No : MbAnswer::Cancel;
        for (char& c : reply) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (const std::optional<MbAnswer> answer = AnswerOfReply(reply, buttons)) return *answer;
    }
}
