// Conversion between UTF-8 (terminal, desktop widgets, the user's text files) and the
// code page 932 bytes the core works in. Only the edges of the program call these.
#pragma once

#include <string>
#include <string_view>

namespace nelo {

struct CodePageResult {
    std::string text;
    /// Characters that had no form in the target and were replaced ("？" or U+FFFD).
    int replacedCount = 0;
};

/// UTF-8 to code page 932. A character without a code page 932 form, and every byte
/// that is not valid UTF-8, becomes "？" (full-width question mark).
CodePageResult Utf8ToCp932(std::string_view utf8);

/// Code page 932 to UTF-8. A byte sequence that is not valid code page 932 becomes
/// U+FFFD.
CodePageResult Cp932ToUtf8(std::string_view cp932);

/// Utf8ToCp932 appending to out (whose capacity is reused); returns the number of
/// replaced characters.
int AppendUtf8AsCp932(std::string_view utf8, std::string& out);

/// Cp932ToUtf8 appending to out (whose capacity is reused); returns the number of
/// replaced sequences.
int AppendCp932AsUtf8(std::string_view cp932, std::string& out);

/// AppendCp932AsUtf8 with every "\r\n" written as "\n" (a lone CR stays).
int AppendCp932LinesAsUtf8(std::string_view cp932, std::string& out);

/// The room WriteCp932LinesAsUtf8 needs for a text of size bytes.
constexpr std::size_t Cp932LinesUtf8Room(std::size_t size) { return size * 3 + 1; }

/// AppendCp932LinesAsUtf8 into a buffer the caller holds, with at least
/// Cp932LinesUtf8Room(cp932.size()) bytes from out (the bytes past the returned end may
/// be overwritten); returns the end of what it wrote.
char* WriteCp932LinesAsUtf8(std::string_view cp932, char* out);

/// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

/// The length of the well-formed UTF-8 sequence that starts at bytes[i] (its character in
/// cp), else 0: overlong forms, surrogates and values past U+10FFFF are no characters.
std::size_t DecodeUtf8At(std::string_view bytes, std::size_t i, char32_t& cp);

}  // namespace nelo
