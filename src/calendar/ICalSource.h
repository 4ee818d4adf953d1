// The bytes of a calendar file: read with a bound on what is read (a pipe or a device
// has no size to check beforehand), and decoded to the UTF-8 text libical reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nelo {

/// Reads at most limit bytes of a file. False with error (code page 932) when it cannot
/// be read, is a folder, or holds more than limit bytes (its size named).
bool ReadICalFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& error);

/// The message for a file of size bytes (or, sizeKnown false, of more than limit
/// bytes) over the limit.
std::string ICalTooLargeText(std::size_t size, bool sizeKnown, std::size_t limit);

/// A calendar's text: UTF-8 as written (a BOM dropped), or a code page 932 file (some
/// older programs write one: not valid UTF-8 but valid code page 932) converted.
struct ICalText {
    std::string utf8;
    bool isShiftJis = false;
};
ICalText DecodeICalBytes(std::string_view bytes);

}  // namespace nelo
