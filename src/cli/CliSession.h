// One run of the terminal program: the application, its conversation pane on stdout,
// the input lines and the backslash commands.
#pragma once

#include "app/NotebookSession.h"
#include "cli/CliMessageBox.h"
#include "cli/CliTranscript.h"
#include "cli/LineReader.h"
#include "conversation/LineDispatcher.h"
#include "platform/Profile.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class CliSession {
public:
    /// A command's handler gets the text after the command name (leading blanks
    /// removed) and returns false when the session should end.
    using CommandHandler = std::function<bool(const std::string& argText)>;

    static constexpr const char* kUsage =
        "usage: nelo-cli [--new] [FILE.nel]\n       nelo-cli --agenda [DAYS] [--json] [FILE.nel]\n"
        "       nelo-cli --help | --version\n";

    explicit CliSession(bool interactive);
    ~CliSession();

    /// Processes arguments and input; returns the exit status.
    int Run(const std::vector<std::string>& args);

    void AddCommand(const std::string& name, const std::string& usage, const std::string& help, CommandHandler handler);
    /// The help: what the program does and the terminal commands; with full also the
    /// usage, the options and the environment variables (--help).
    void PrintHelp(std::FILE* out, bool full);

    /// Submits one line typed in UTF-8 (converted to code page 932 first).
    void SubmitLine(const std::string& utf8Line);
    /// A message for the user on stderr (UTF-8), after the pending conversation text.
    void Notice(const std::string& utf8Text);
    /// Text for stdout (UTF-8) after the pending conversation text, such as a listing.
    void Print(const std::string& utf8Text);

    nelo::NotebookSession& GetNotebookSession() { return m_notebookSession; }
    nelo::Notebook& GetNotebook() { return m_notebookSession.GetNotebook(); }
    nelo::LineDispatcher& GetDispatcher() { return m_dispatcher; }
    nelo::MessageBox& GetMessageBox() { return m_messageBox; }
    LineReader& GetReader() { return m_reader; }
    CliTranscript& GetView() { return m_view; }
    bool IsInteractive() const { return m_reader.IsInteractive(); }
    /// How the last \save went: a piped run whose last save failed ends with status 1.
    void SetSaveFailed(bool failed) { m_saveFailed = failed; }

private:
    struct Command {
        std::string name, usage, help;
        CommandHandler handler;
    };

    /// Runs a line that starts with "\"; false when the session should end.
    bool RunCommand(const std::string& line);
    /// One line read from the input: a command, or a line for the notebook. false when
    /// it asks to end the session.
    bool TakeLine(const std::string& line);

    bool m_outTerminal;  // stdout and stderr are terminals: control characters are shown
    bool m_errTerminal;
    LineReader m_reader;
    CliMessageBox m_messageBox;
    nelo::Profile m_profile;
    CliTranscript m_view;
    nelo::NotebookSession m_notebookSession;
    nelo::LineDispatcher m_dispatcher;
    std::vector<Command> m_commands;
    /// The code page 932 form of the line being submitted; kept to reuse its memory.
    std::string m_line;
    bool m_saveFailed = false;
};
