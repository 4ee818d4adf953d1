// File names typed after a terminal command (\save, \open, \read, \export).
#pragma once

#include <string>

/// text without its trailing blanks and, when it stands in double quotes, without them
/// (`\memos "A B"`).
std::string Unquote(std::string text);

/// The path a command's argument names: blanks around it and surrounding double quotes
/// removed, a leading "~/" for the home folder, a leading $NAME or ${NAME} replaced by
/// that environment variable when the path does not name a file as it stands
/// (transcripts name their fixtures as "$CASE_DIR/…"). Empty when nothing was given.
std::string PathArgument(const std::string& argText);
