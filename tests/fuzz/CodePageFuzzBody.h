// What the code page fuzz target does with one input: the bytes are converted between
// UTF-8 and code page 932 both ways and through the JText conversions.
#pragma once

#include "FuzzInput.h"
#include "dates/DatePattern.h"
#include "platform/CodePage.h"
#include "text/JText.h"

#include <cstdlib>

/// Inputs beyond this many bytes are cut.
constexpr std::size_t kFuzzCodePageMaxBytes = 1 << 14;

/// Converts the bytes every way. Nothing may crash; what converts without replacement
/// must convert back unchanged, and the results of a conversion are stable.
inline void FuzzCodePageOnce(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = FuzzBytes(data, size, kFuzzCodePageMaxBytes);

    // As UTF-8: the code page 932 result is always valid, and one round trip reaches a
    // text that comes back unchanged (a few characters, such as the yen sign, map one
    // way only, as the system's converter has them).
    nelo::CodePageResult sj = nelo::Utf8ToCp932(bytes);
    nelo::CodePageResult back = nelo::Cp932ToUtf8(sj.text);
    if (back.replacedCount != 0) std::abort();
    nelo::CodePageResult again = nelo::Utf8ToCp932(back.text);
    if (again.replacedCount != 0 || again.text != sj.text) std::abort();

    // As code page 932: the UTF-8 form is valid and converts to bytes that give the
    // same UTF-8 again (several codes may share one character).
    nelo::CodePageResult utf = nelo::Cp932ToUtf8(bytes);
    if (!nelo::IsValidUtf8(utf.text)) std::abort();
    if (utf.replacedCount == 0 && nelo::Cp932ToUtf8(nelo::Utf8ToCp932(utf.text).text).text != utf.text) std::abort();

    // The text conversions of the core on arbitrary bytes.
    const std::string full = nelo::ToFullWidth(bytes);
    nelo::ToFullWidthHalfBlank(bytes);
    nelo::ToAsciiForm(bytes);
    nelo::ToAsciiForm(full);
    nelo::ToDatePattern(bytes);
    nelo::ToDatePattern(full);
}
