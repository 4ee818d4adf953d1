// The one place where the desktop program's text meets the core's: QString on the
// widgets' side, code page 932 bytes on the core's, through the same tables nelo-cli
// uses. A character without a code page 932 form becomes "？", counted so the window
// can say so.
#pragma once

#include <QString>
#include <string>

/// Code page 932 text as a QString; "\r\n" stays as it is.
QString ToQString(const std::string& cp932);
/// A QString as code page 932. pnReplaced (when given) receives the number of
/// characters that had no code page 932 form and were written as "？".
std::string ToCp932(const QString& text, int* pnReplaced = nullptr);
/// A UTF-8 file path as a QString, and back.
QString PathToQString(const std::string& utf8Path);
std::string PathFromQString(const QString& path);
