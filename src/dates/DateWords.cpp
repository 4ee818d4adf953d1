#include "dates/DateWords.h"

#include "platform/Clock.h"
#include "text/JText.h"

#include <cstring>

std::string::size_type FindWord(const std::string& text, const char* word) {
    // Phrases are short, and CWordSearch settles most absent words before this walk.
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

namespace {

// The bit of a double-byte character; -1 for a single byte.
inline int CharBit(const char* p, std::size_t left) {
    if (left < 2 || !IsLeadByte(static_cast<unsigned char>(p[0]))) return -1;
    return static_cast<int>(DbcsCode(p) & 0x1FF);
}

}  // namespace

CWordSearch::CWordSearch(const std::string& text) : m_strText(text) {
    const char* s = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const int bit = CharBit(s + i, n - i);
        if (bit < 0) {
            ++i;
            continue;
        }
        m_chars.bits[bit >> 6] |= 1ULL << (bit & 63);
        i += 2;
    }
}

CWordSearch::Chars CWordSearch::FirstCharsOf(std::initializer_list<const char*> words) {
    Chars set;
    for (const char* w : words) {
        const int bit = CharBit(w, std::strlen(w));
        if (bit >= 0) set.bits[bit >> 6] |= 1ULL << (bit & 63);
    }
    return set;
}

std::string::size_type CWordSearch::Find(const char* word) const {
    const int bit = CharBit(word, word[0] ? 2 : 0);
    if (bit >= 0 && !(m_chars.bits[bit >> 6] >> (bit & 63) & 1)) return std::string::npos;
    return FindWord(m_strText, word);
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
