#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace {

// One converter per direction, opened on first use. iconv descriptors keep state, so
// every call resets them; the core is single-threaded but the lock keeps tests honest.
class CConverter {
public:
    CConverter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CConverter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;

    // Converts as much as possible; on an invalid or unconvertible sequence calls
    // skip(in, left) which returns the number of input bytes to skip and appends its
    // replacement to out.
    template <class Skip>
    CodePageResult Run(std::string_view in, Skip skip) {
        std::lock_guard<std::mutex> lock(m_mutex);
        CodePageResult res;
        res.text.reserve(in.size() * 2);
        if (m_cd == reinterpret_cast<iconv_t>(-1)) return res;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* pin = const_cast<char*>(in.data());
        size_t left = in.size();
        char buf[4096];
        while (left > 0) {
            char* pout = buf;
            size_t room = sizeof buf;
            size_t r = iconv(m_cd, &pin, &left, &pout, &room);
            res.text.append(buf, pout - buf);
            if (r != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: an unconvertible or invalid sequence at pin.
            size_t n = skip(pin, left, res.text);
            pin += n;
            left -= n;
            ++res.nReplaced;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return res;
    }

private:
    iconv_t m_cd;
    std::mutex m_mutex;
};

// Length of the UTF-8 sequence starting at p if it is well-formed, else 0.
size_t Utf8SeqLen(const unsigned char* p, size_t left) {
    unsigned char b = p[0];
    size_t n;
    unsigned cp;
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (left < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    while (left > 0) {
        size_t n = Utf8SeqLen(p, left);
        if (n == 0) return false;
        p += n;
        left -= n;
    }
    return true;
}

CodePageResult Utf8ToCp932(std::string_view utf8) {
    // Plain ASCII is the same in both: skip iconv for it.
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return {std::string(utf8), 0};
    static CConverter conv("CP932", "UTF-8");
    return conv.Run(utf8, [](const char* p, size_t left, std::string& out) {
        out += "\x81\x48";  // ？
        size_t n = Utf8SeqLen(reinterpret_cast<const unsigned char*>(p), left);
        return n == 0 ? size_t{1} : n;
    });
}

CodePageResult Cp932ToUtf8(std::string_view cp932) {
    bool ascii = true;
    for (char c : cp932)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return {std::string(cp932), 0};
    static CConverter conv("UTF-8", "CP932");
    return conv.Run(cp932, [](const char*, size_t, std::string& out) {
        out += "\xEF\xBF\xBD";  // U+FFFD
        return size_t{1};
    });
}
