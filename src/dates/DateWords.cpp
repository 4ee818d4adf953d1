#include "dates/DateWords.h"

#include "platform/Clock.h"
#include "text/JText.h"

namespace nelo {

std::string::size_type FindWord(const std::string& text, const char* word) {
    const char first = word[0];
    if (first == '\0') return std::string::npos;
    const char* s = text.data();
    const std::size_t n = text.size();
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

void BlankOut(std::string& text, std::string::size_type pos, std::string::size_type count) {
    if (pos >= text.size()) return;
    if (count > text.size() - pos) count = text.size() - pos;
    text.replace(pos, count, count, ' ');
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

}  // namespace nelo
