// What the text-file fuzz target does with one input: the bytes are read as a text file
// (UTF-8 or code page 932) and cut into the pieces that would be submitted.
#pragma once

#include "FuzzInput.h"
#include "conversation/TextFileInput.h"

#include <cstdlib>

/// Inputs beyond this many bytes are cut.
constexpr std::size_t kFuzzTextMaxBytes = 1 << 16;

/// Decodes and splits the file's bytes; every piece must be one the line handler
/// accepts: not empty, at most kMaxPiece bytes, no NUL and no line end.
inline void FuzzTextFileOnce(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = FuzzBytes(data, size, kFuzzTextMaxBytes);
    const std::string text = CTextFileInput::DecodeFileBytes(bytes);
    std::vector<std::string> lines;
    CTextFileInput::SplitLines(text, lines);
    std::size_t total = 0;
    for (const std::string& piece : lines) {
        if (piece.empty() || piece.size() > CTextFileInput::kMaxPiece) std::abort();
        if (piece.find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos) std::abort();
        total += piece.size();
    }
    if (total > text.size()) std::abort();
}
