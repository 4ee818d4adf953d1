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

inline bool IsKanjiLead(unsigned char b) { return (b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The bit of the kanji at p; -1 for anything else.
inline int KanjiBit(const char* p, std::size_t left) {
    if (left < 2 || !IsKanjiLead(static_cast<unsigned char>(p[0]))) return -1;
    return static_cast<int>(DbcsCode(p) & 0x1FF);
}

}  // namespace

CWordSearch::CWordSearch(const std::string& text) : m_strText(text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    // A byte that could lead a kanji (trail bytes too may lie in that range): without one
    // the text holds no kanji and the set stays empty.
    bool bMaybe = false;
    for (std::size_t i = 0; i < n; ++i) bMaybe |= IsKanjiLead(s[i]);
    if (!bMaybe) return;
    for (std::size_t i = 0; i < n;) {
        if (!IsLeadByte(s[i]) || i + 1 >= n) {
            ++i;
            continue;
        }
        const int bit = KanjiBit(text.data() + i, n - i);
        if (bit >= 0) m_chars.bits[bit >> 6] |= 1ULL << (bit & 63);
        i += 2;
    }
}

CWordSearch::Chars CWordSearch::FirstCharsOf(std::initializer_list<const char*> words) {
    Chars set;
    for (const char* w : words) {
        const int bit = KanjiBit(w, std::strlen(w));
        if (bit < 0)
            set.bAlways = true;
        else
            set.bits[bit >> 6] |= 1ULL << (bit & 63);
    }
    return set;
}

std::string::size_type CWordSearch::Find(const char* word) const {
    const int bit = KanjiBit(word, word[0] ? 2 : 0);
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
