// What the text-file fuzz target does with one input: the bytes are read as a text file
// would be, block by block with a small line limit, and each line is decoded the way a
// line of a pipe is (UTF-8 or code page 932).
#pragma once

#include "FuzzInput.h"
#include "conversation/TextFileInput.h"
#include "conversation/TextLineStream.h"
#include "platform/CodePage.h"

#include <cstdlib>
#include <cstring>

/// Inputs beyond this many bytes are cut.
constexpr std::size_t kFuzzTextMaxBytes = 1 << 16;
/// A small line limit, so that inputs reach it.
constexpr std::size_t kFuzzTextMaxLine = 200;

/// The first byte chooses the block sizes, the rest is the file. Every line must hold no
/// line end and stay within the limit, the lines must be those of the bytes cut at CR LF,
/// LF and a lone CR, whatever the blocks, and decoding a line must give code page 932.
inline void FuzzTextFileOnce(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    const std::size_t block = 1 + data[0] % 97;
    const std::string_view bytes = FuzzBytes(data + 1, size - 1, kFuzzTextMaxBytes);
    std::size_t pos = 0;
    nelo::TextLineStream stream(
        [&](char* buffer, std::size_t room) {
            std::size_t n = bytes.size() - pos;
            if (n > room) n = room;
            if (n > block) n = block;
            std::memcpy(buffer, bytes.data() + pos, n);
            pos += n;
            return static_cast<long>(n);
        },
        kFuzzTextMaxLine, block);
    std::size_t start = 0;
    std::string_view line;
    nelo::TextLineStream::Result result;
    std::string converted;
    while ((result = stream.Read(line)) == nelo::TextLineStream::Result::Line) {
        if (line.size() > kFuzzTextMaxLine) std::abort();
        if (line.find_first_of("\r\n") != std::string_view::npos) std::abort();
        // The same line found by cutting the whole input.
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        if (bytes.substr(start, end - start) != line) std::abort();
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
        start = end + 1;
        converted.clear();
        if (nelo::TextFileInput::IsUtf8File(line)) {
            nelo::AppendUtf8AsCp932(line, converted);
            if (converted.empty() != line.empty()) std::abort();
        }
    }
    if (result == nelo::TextLineStream::Result::End && start < bytes.size()) std::abort();
    if (result == nelo::TextLineStream::Result::TooLong) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        if (end - start <= kFuzzTextMaxLine) std::abort();
    }
}
