// The table conversion against the C library's "CP932" converter, which it replaces:
// every character, every one- and two-byte sequence, and random bytes must convert to
// the same text with the same number of replacements.
#include "platform/CodePage.h"

#include <iconv.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

using namespace nelo;

namespace {

// The conversion as iconv does it, with the replacement rules of CodePage.h: "？" for
// a UTF-8 sequence (or a stray byte) without a form, U+FFFD for each invalid byte.
class IconvReference {
public:
    IconvReference(const char* to, const char* from, bool toCp932) : m_cd(iconv_open(to, from)), m_isToCp932(toCp932) {}
    ~IconvReference() { iconv_close(m_cd); }
    IconvReference(const IconvReference&) = delete;
    IconvReference& operator=(const IconvReference&) = delete;

    bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    CodePageResult Convert(std::string_view in) {
        CodePageResult res;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* pin = const_cast<char*>(in.data());
        size_t left = in.size();
        char buf[4096];
        while (left > 0) {
            char* pout = buf;
            size_t room = sizeof buf;
            size_t r = iconv(m_cd, &pin, &left, &pout, &room);
            res.text.append(buf, static_cast<std::size_t>(pout - buf));
            if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
            size_t n = 1;
            if (m_isToCp932) {
                res.text += "\x81\x48";
                n = Utf8Length(reinterpret_cast<const unsigned char*>(pin), left);
            } else {
                res.text += "\xEF\xBF\xBD";
            }
            pin += n;
            left -= n;
            ++res.replacedCount;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return res;
    }

private:
    // Length of a well-formed UTF-8 sequence at p, 1 for anything else.
    static size_t Utf8Length(const unsigned char* p, size_t left) {
        size_t n = p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : p[0] >= 0xC0 ? 2 : 1;
        if (n == 1 || left < n) return 1;
        return IsValidUtf8(std::string_view(reinterpret_cast<const char*>(p), n)) ? n : 1;
    }

    iconv_t m_cd;
    bool m_isToCp932;
};

std::string Utf8Of(unsigned cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

std::string Hex(std::string_view s) {
    std::string h;
    char b[4];
    for (const char c : s) {
        std::snprintf(b, sizeof b, "%02X ", static_cast<unsigned char>(c));
        h += b;
    }
    return h;
}

class CodePageTable : public ::testing::Test {
protected:
    IconvReference m_toCp932{"CP932", "UTF-8", true};
    IconvReference m_toUtf8{"UTF-8", "CP932", false};

    void ExpectSameToCp932(std::string_view in) {
        CodePageResult want = m_toCp932.Convert(in), got = Utf8ToCp932(in);
        EXPECT_EQ(got.text, want.text) << Hex(in);
        EXPECT_EQ(got.replacedCount, want.replacedCount) << Hex(in);
    }
    void ExpectSameToUtf8(std::string_view in) {
        CodePageResult want = m_toUtf8.Convert(in), got = Cp932ToUtf8(in);
        EXPECT_EQ(got.text, want.text) << Hex(in);
        EXPECT_EQ(got.replacedCount, want.replacedCount) << Hex(in);
    }
};

TEST_F(CodePageTable, EveryCharacterEncodesAsIconvDoes) {
    ASSERT_TRUE(m_toCp932.IsOpen());
    // In blocks of 256 characters between ASCII letters, so a wrong character shows
    // its block.
    for (unsigned block = 0; block < 0x110000; block += 0x100) {
        if (block >= 0xD800 && block < 0xE000) continue;
        std::string in = "a";
        for (unsigned cp = block; cp < block + 0x100; ++cp) in += Utf8Of(cp) + "b";
        ExpectSameToCp932(in);
    }
}

TEST_F(CodePageTable, EveryOneAndTwoByteSequenceDecodesAsIconvDoes) {
    ASSERT_TRUE(m_toUtf8.IsOpen());
    for (unsigned b = 0; b < 256; ++b) ExpectSameToUtf8(std::string(1, static_cast<char>(b)));
    for (unsigned code = 0; code < 0x10000; ++code) {
        std::string in{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        ExpectSameToUtf8(in);
        ExpectSameToUtf8("x" + in + "\x81");  // then a lead byte cut short
    }
}

TEST_F(CodePageTable, EveryTwoByteUtf8SequenceEncodesAsIconvDoes) {
    for (unsigned code = 0; code < 0x10000; ++code) {
        std::string in{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        ExpectSameToCp932(in);
    }
}

TEST_F(CodePageTable, RandomBytesConvertAsIconvDoes) {
    // Bytes drawn mostly from the interesting ranges: lead bytes, continuation and
    // trail bytes, ASCII, NUL.
    std::mt19937 rng(932);
    const unsigned char pool[] = {0x00, 0x0A, 0x41, 0x5C, 0x7E, 0x7F, 0x80, 0x81, 0x82, 0x9F, 0xA0,
                                  0xA1, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xE3, 0xED, 0xEF, 0xF0, 0xF4,
                                  0xF5, 0xF8, 0xFC, 0xFD, 0xFE, 0xFF, 0x40, 0x8E, 0x9A};
    for (int i = 0; i < 100000; ++i) {
        std::string in;
        int len = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < len; ++k) in += static_cast<char>(rng() % 3 == 0 ? rng() % 256 : pool[rng() % sizeof pool]);
        ExpectSameToCp932(in);
        ExpectSameToUtf8(in);
        if (HasFailure()) break;
    }
}

}  // namespace
