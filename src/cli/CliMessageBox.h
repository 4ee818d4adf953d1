// Message boxes on the terminal: the text goes to stderr. On a terminal a question is
// asked there; otherwise a notice is only shown and a question is taken as confirmed
// (the user gave the command explicitly).
#pragma once

#include "platform/MessageBox.h"

#include <functional>
#include <string>

class CliMessageBox : public nelo::MessageBox {
public:
    /// ask: reads one answer line from the user; empty when the terminal has none.
    /// errTerminal: stderr is a terminal, where control characters are shown, not sent.
    explicit CliMessageBox(std::function<bool(const std::string& prompt, std::string& reply)> ask = {},
                           bool errTerminal = false)
        : m_ask(std::move(ask)), m_errTerminal(errTerminal) {}

    nelo::MbAnswer Show(const std::string& text, const std::string& caption, nelo::MbButtons buttons,
                        nelo::MbIcon icon = nelo::MbIcon::None) override;

private:
    std::function<bool(const std::string&, std::string&)> m_ask;
    bool m_errTerminal;
};
