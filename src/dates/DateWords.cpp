#include "dates/DateWords.h"

#include "platform/Clock.h"
#include "text/JText.h"

#include <cstring>
#include <string_view>

std::string::size_type FindWord(const std::string& text, const char* word) {
    std::size_t len = std::strlen(word);
    if (len == 0 || len > text.size()) return std::string::npos;
    // Byte search for each occurrence, then a walk over the characters up to it to see
    // whether it starts at a character boundary; the walk never goes back, so a word
    // costs one pass over the text.
    std::string_view view(text), key(word, len);
    for (std::size_t i = 0;;) {
        std::size_t at = view.find(key, i);
        if (at == std::string_view::npos) return std::string::npos;
        while (i < at) {
            bool dbcs = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
            i += dbcs ? 2 : 1;
        }
        if (i == at) return at;
    }
}

std::tm Today() { return LocalNow(); }

int ReadNumber(const std::string& text, std::string::size_type from) {
    constexpr long long kLimit = 999999999;
    long long v = 0;
    for (std::size_t i = from; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > kLimit) v = kLimit;
    }
    return static_cast<int>(v);
}
