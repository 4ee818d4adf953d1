#include "dates/DatePattern.h"

#include "text/JText.h"

namespace nelo {

namespace {

// The body of ToDatePattern, writing at o (room for two bytes per input byte); returns
// the end of what it wrote.
char* WriteDatePattern(std::string_view in, char* o) {
    static constexpr struct {
        unsigned code;
        char mark;
    } kUnits[] = {
        {0x944E, 'Y'},  // 年
        {0x8C8E, 'M'},  // 月
        {0x93FA, 'D'},  // 日
        {0x8E9E, 'H'},  // 時
        {0x95AA, 'm'},  // 分
        {0x9562, 's'},  // 秒
    };
    auto put2 = [&o](char a, char b) {
        o[0] = a;
        o[1] = b;
        o += 2;
    };
    bool digit = false;
    std::size_t i = 0;
    while (i < in.size() && in[i] != '\0') {
        unsigned char b = static_cast<unsigned char>(in[i]);
        if (!DbcsAt(in, i)) {
            if (b >= 0xA1 && b <= 0xDF) {
                char pair[2] = {in[i], i + 1 < in.size() ? in[i + 1] : '\0'};
                unsigned code;
                i += HalfKanaCode(pair, code);
                put2(static_cast<char>(code >> 8), static_cast<char>(code & 0xFF));
            } else if (b == ' ' || (b >= '\t' && b <= '\r')) {
                *o++ = ' ';
                while (i < in.size() && (in[i] == ' ' || (in[i] >= '\t' && in[i] <= '\r'))) ++i;
            } else {
                *o++ = static_cast<char>(b);
                ++i;
            }
            continue;
        }
        unsigned code = DbcsCode(in.data() + i);
        i += 2;
        if (digit) {
            bool unit = false;
            for (const auto& u : kUnits)
                if (u.code == code) {
                    put2(u.mark, '/');
                    unit = true;
                    break;
                }
            if (unit) continue;
        }
        digit = false;
        if (IsFullDigitCode(code)) {
            *o++ = static_cast<char>('0' + (code - 0x824F));
            digit = true;
            continue;
        }
        switch (CharClass(code)) {
        case 2:
            if (code == 0x815E || code == 0x8144 || code == 0x815B || code == 0x815C || code == 0x817C ||
                code == 0x8145) {
                put2('d', '/');
            } else if (code == 0x8146) {
                put2('t', '/');
            } else {
                put2('/', '/');
            }
            break;
        case 4: put2('/', '/'); break;
        default:  // class 3 letters and everything else keep their two bytes
            put2(static_cast<char>(code >> 8), static_cast<char>(code & 0xFF));
            break;
        }
    }
    return o;
}

}  // namespace

std::string ToDatePattern(std::string_view in) {
    // A phrase's pattern is built on the stack and copied once, so that a short one
    // stays within the string's own buffer.
    char local[256];
    if (in.size() * 2 <= sizeof local) return std::string(local, WriteDatePattern(in, local));
    std::string out(in.size() * 2, '\0');
    out.resize(static_cast<std::size_t>(WriteDatePattern(in, out.data()) - out.data()));
    return out;
}

}  // namespace nelo
