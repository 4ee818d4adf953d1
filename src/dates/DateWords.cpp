#include "dates/DateWords.h"

#include "platform/Clock.h"
#include "text/JText.h"

#include <cstring>

std::string::size_type FindWord(const std::string& text, const char* word) {
    // The parsers look for dozens of words in each phrase and most are absent: a
    // library search for the first byte settles those, and only a phrase holding it is
    // walked character by character.
    const char first = word[0];
    if (first == '\0') return std::string::npos;
    const char* s = text.data();
    const std::size_t n = text.size();
    if (!std::memchr(s, first, n)) return std::string::npos;
    for (std::size_t i = 0; i < n;) {
        if (s[i] == first) {
            std::size_t k = 1;
            while (word[k] != '\0' && i + k < n && s[i + k] == word[k]) ++k;
            if (word[k] == '\0') return i;
        }
        bool dbcs = IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < n;
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
