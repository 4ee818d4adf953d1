#include "transcript/CharFormat.h"

#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <cstdio>

namespace nelo {

namespace {

constexpr const char* kSection = "SendViewFont";
constexpr const char* kEntry = "FontAttr";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Reads the fields the way the saved text was written: numbers and a word separated
// by any blanks, each number as long as its digits go.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view text) : m_text(text) {}

    bool Hex(std::uint32_t& value) {
        bool minus = false;
        std::uint64_t v = 0;
        if (!Sign(minus)) return false;
        if (m_i + 1 < m_text.size() && m_text[m_i] == '0' && (m_text[m_i + 1] == 'x' || m_text[m_i + 1] == 'X') &&
            m_i + 2 < m_text.size() && HexDigit(m_text[m_i + 2]) >= 0)
            m_i += 2;
        const std::size_t start = m_i;
        for (int d; m_i < m_text.size() && (d = HexDigit(m_text[m_i])) >= 0; ++m_i) {
            v = v * 16 + static_cast<unsigned>(d);
            if (v > 0xFFFFFFFFu) return false;
        }
        if (m_i == start) return false;
        value = static_cast<std::uint32_t>(minus ? 0u - v : v);
        return true;
    }

    bool Dec(std::int32_t& value) {
        bool minus = false;
        std::int64_t v = 0;
        if (!Sign(minus)) return false;
        const std::size_t start = m_i;
        for (; m_i < m_text.size() && m_text[m_i] >= '0' && m_text[m_i] <= '9'; ++m_i) {
            v = v * 10 + (m_text[m_i] - '0');
            if (v > 0x80000000LL) return false;
        }
        if (m_i == start) return false;
        v = minus ? -v : v;
        if (v > 0x7FFFFFFFLL) return false;
        value = static_cast<std::int32_t>(v);
        return true;
    }

    /// Where the next blank-free word starts; npos when there is none.
    std::size_t Word() {
        SkipBlanks();
        return m_i < m_text.size() ? m_i : std::string_view::npos;
    }

private:
    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    void SkipBlanks() {
        while (m_i < m_text.size() && IsBlank(m_text[m_i])) ++m_i;
    }
    bool Sign(bool& minus) {
        SkipBlanks();
        if (m_i < m_text.size() && (m_text[m_i] == '-' || m_text[m_i] == '+')) minus = m_text[m_i++] == '-';
        return m_i < m_text.size();
    }

    std::string_view m_text;
    std::size_t m_i = 0;
};

}  // namespace

CharFormat DefaultCharFormat() {
    CharFormat cf;
    cf.faceName = "ＭＳ Ｐゴシック"_sj;
    return cf;
}

std::string FormatFontAttr(const CharFormat& cf) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%x %x %d %d %x %x %x ", static_cast<unsigned>(cf.mask),
                  static_cast<unsigned>(cf.effects), static_cast<int>(cf.height), static_cast<int>(cf.offset),
                  static_cast<unsigned>(cf.crTextColor), static_cast<unsigned>(cf.charSet),
                  static_cast<unsigned>(cf.pitchAndFamily));
    return buf + cf.faceName;
}

std::string TruncateFaceName(std::string_view face) {
    std::size_t i = 0;
    while (i < face.size()) {
        const std::size_t step = DbcsAt(face, i) ? 2 : 1;
        if (i + step > CharFormat::kMaxFace) break;
        i += step;
    }
    return std::string(face.substr(0, i));
}

bool ParseFontAttr(std::string_view text, CharFormat& cf) {
    FieldScanner scan(text);
    CharFormat out;
    std::uint32_t charset = 0, pitch = 0;
    if (!scan.Hex(out.mask) || !scan.Hex(out.effects) || !scan.Dec(out.height) || !scan.Dec(out.offset) ||
        !scan.Hex(out.crTextColor) || !scan.Hex(charset) || !scan.Hex(pitch))
        return false;
    // The face name is the rest of the text from its first word on, so a name with
    // blanks stays whole.
    const std::size_t face = scan.Word();
    if (face == std::string_view::npos) return false;
    std::string_view name = text.substr(face);
    while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
    out.charSet = static_cast<std::uint8_t>(charset & 0xFF);
    out.pitchAndFamily = static_cast<std::uint8_t>(pitch & 0xFF);
    out.faceName = TruncateFaceName(name);
    cf = out;
    return true;
}

CharFormat ReadSavedFont(const Profile& profile) {
    // The profile file is UTF-8 text; a value stored as code page 932 bytes is taken as is.
    const std::string value = profile.GetProfileString(kSection, kEntry);
    CharFormat cf = DefaultCharFormat();
    if (IsValidUtf8(value))
        ParseFontAttr(Utf8ToCp932(value).text, cf);
    else
        ParseFontAttr(value, cf);
    return cf;
}

bool WriteSavedFont(Profile& profile, const CharFormat& cf) {
    return profile.WriteProfileString(kSection, kEntry, Cp932ToUtf8(FormatFontAttr(cf)).text);
}

}  // namespace nelo
