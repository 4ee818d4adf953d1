#include "dates/DateWords.h"

#include "platform/Clock.h"
#include "text/JText.h"

#include <cstring>

std::string::size_type FindWord(const std::string& text, const char* word) {
    std::size_t len = std::strlen(word);
    if (len == 0 || len > text.size()) return std::string::npos;
    for (std::size_t i = 0; i + len <= text.size();) {
        if (text.compare(i, len, word) == 0) return i;
        bool dbcs = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += dbcs ? 2 : 1;
    }
    return std::string::npos;
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
