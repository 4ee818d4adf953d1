#include "models/RowList.h"

#include "text/JText.h"

namespace nelo {

namespace {

// The lower-case form of a double-byte letter, or the code itself.
unsigned FoldDbcs(unsigned code) {
    if (code >= 0x8260 && code <= 0x8279) return code + 0x21;  // Ａ-Ｚ -> ａ-ｚ
    if (code >= 0x839F && code <= 0x83B6) return code + 0x20;  // Greek capitals
    if (code >= 0x8440 && code <= 0x844E) return code + 0x30;  // Cyrillic А-Н (0x847F is unused)
    if (code >= 0x844F && code <= 0x8460) return code + 0x31;  // Cyrillic О-Я
    return code;
}

// The next character of s at i as a folded code; advances i.
unsigned NextFolded(const std::string& s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i]);
    if (IsLeadByte(b) && i + 1 < s.size()) {
        unsigned code = DbcsCode(s.data() + i);
        i += 2;
        return 0x10000u | FoldDbcs(code);
    }
    ++i;
    if (b >= 'A' && b <= 'Z') return b + 0x20u;
    return b;
}

}  // namespace

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (NextFolded(a, i) != NextFolded(b, j)) return false;
    return i == a.size() && j == b.size();
}

int RowList::FindStringExact(int start, const std::string& text) const {
    const int n = GetCount();
    if (n == 0) return -1;
    int first = (start < 0 || start >= n) ? 0 : start + 1;
    for (int k = 0; k < n; ++k) {
        int i = (first + k) % n;
        if (EqualsIgnoringCase(m_rows[static_cast<std::size_t>(i)], text)) return i;
    }
    return -1;
}

}  // namespace nelo
