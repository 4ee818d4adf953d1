// Text shown at a terminal: the notebook holds whatever was typed or read, and control
// characters in it (an escape sequence that sets the window title, clears the screen or
// writes the clipboard) would be carried out by the terminal instead of being shown.
// At a terminal they are written in a visible form; a pipe or a file gets the text as it
// is, since the program reading it wants the notebook's own characters.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

/// Appends UTF-8 text to out with every control character made visible: C0 controls
/// other than tab and line feed in caret form ("^[" for ESC, "^M" for a lone CR), DEL
/// as "^?", C1 controls as "<U+009B>", and bytes that are no UTF-8 as "<9B>".
void AppendVisibleText(std::string_view utf8, std::string& out);

/// True when f is a terminal.
bool IsTerminal(std::FILE* f);

/// Writes UTF-8 text to f, made visible first when isTerminal; false when the write
/// failed (a closed pipe is also noted as SIGPIPE).
bool WriteShownText(std::FILE* f, std::string_view utf8, bool isTerminal);
