#include "calc/Scanner.h"

#include "text/JText.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace nelo {

namespace {

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

inline bool IsIdentChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsAsciiDigit(c) || c == '_' || c == '@' || c == '#';
}

constexpr unsigned kYen = 0x897E;  // 円

// The power of ten a unit character stands for; 0 for every other character.
int UnitPower(unsigned code) {
    switch (code) {
    case 0x8F5C: return 1;   // 十
    case 0x9553: return 2;   // 百
    case 0x90E7: return 3;   // 千
    case 0x969C: return 4;   // 万
    case 0x89AD: return 8;   // 億
    case 0x929B: return 12;  // 兆
    default: return 0;
    }
}

// Every power of ten up to 1e22 is a double exactly, as std::pow gives it.
constexpr double kPowerOfTen[] = {1,    1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr long kExactPowers = static_cast<long>(std::size(kPowerOfTen));

double PowerOfTen(long places) {
    return places < kExactPowers ? kPowerOfTen[places] : std::pow(10.0, static_cast<double>(places));
}

// An amount being read by its units (see Scanner::ReadUnits).
struct Amount {
    double total = 0;   // the groups closed by 万, 億 or 兆
    double group = 0;   // the group being read
    double digits = 0;  // digits waiting for their unit
    bool hasDigits = true;
    bool first = true;   // no unit read yet: the digits may be of any size
    int bigPower = 16;   // the last 万, 億 or 兆; 16 before the first
    int smallPower = 4;  // the last 千, 百 or 十 of the group; 4 before the first
    bool readable = true;
};

// 千, 百 or 十 (a power below 4) after the digits read, if any.
void AddSmallUnit(Amount& amount, int power) {
    if (!amount.hasDigits)
        amount.digits = 1;  // 千, 百 and 十 alone count one
    else if (!amount.first && amount.digits >= 10)
        amount.readable = false;
    if (power >= amount.smallPower) amount.readable = false;
    amount.group += amount.digits * kPowerOfTen[power];
    amount.smallPower = power;
}

// The digits read, if any, end the group.
void CloseGroup(Amount& amount) {
    if (!amount.hasDigits) return;
    if (!amount.first && amount.digits >= kPowerOfTen[amount.smallPower]) amount.readable = false;
    amount.group += amount.digits;
}

// 万, 億 or 兆: the group read so far is counted in it.
void AddBigUnit(Amount& amount, int power) {
    if (!amount.hasDigits && amount.smallPower == 4) amount.readable = false;  // no group before it: 「１億万」
    CloseGroup(amount);
    if (power >= amount.bigPower) amount.readable = false;
    amount.total += amount.group * kPowerOfTen[power];
    amount.group = 0;
    amount.smallPower = 4;
    amount.bigPower = power;
}

// Digits after the last unit stay below its place.
void CloseAmount(Amount& amount) { CloseGroup(amount); }

}  // namespace

void Scanner::Reset(const std::string& line) {
    m_line = line.c_str();
    m_length = line.size();
    m_cursor = 0;
    m_tokenStart = 0;
    m_token = TokenEnd;
    m_value = 0;
    m_tokenText[0] = '\0';
}

void Scanner::BlankTokenText() {
    std::memset(m_tokenText, ' ', sizeof m_tokenText - 1);
    m_tokenText[sizeof m_tokenText - 1] = '\0';
}

int Scanner::GetToken(bool tildeToken) {
    m_tokenStart = m_cursor;
    while (ByteAt(m_cursor) == ' ' || ByteAt(m_cursor) == '\t') ++m_cursor;

    char c = ByteAt(m_cursor);
    if (IsLeadByte(static_cast<unsigned char>(c))) {
        ReadWord();
        return m_token = TokenWord;
    }
    // Numbers first: they are most of a calculation's tokens.
    if (IsAsciiDigit(c) || c == '.') return m_token = ReadNumber();
    // The terminating NUL is never stepped over: the end of the line stays the end.
    if (c == '\0') return m_token = TokenEnd;
    ++m_cursor;
    switch (c) {
    case '\n':
    case ';': return m_token = TokenEnd;
    case '(': return m_token = TokenLeftParen;
    case ')': return m_token = TokenRightParen;
    case '*': return m_token = TokenMultiply;
    case '+': return m_token = TokenPlus;
    case '-': return m_token = TokenMinus;
    case '/': return m_token = TokenDivide;
    case '=': return m_token = TokenAssign;
    case ',': return m_token = TokenComma;
    default: break;
    }
    if (c == '~' && tildeToken) return m_token = TokenTilde;
    if (IsIdentChar(c)) {
        --m_cursor;
        ReadIdentifier();
        return m_token = TokenWord;
    }
    m_tokenText[0] = c;
    m_tokenText[1] = '\0';
    return m_token = TokenOther;
}

// A number: digits and dots, then, when a unit character follows the digits directly,
// the rest of a number written as people write amounts (「１億２３４５万」, 「３千円」).
int Scanner::ReadNumber() {
    m_value = ReadDecimal();
    int kind = TokenNumber;
    // Only a lead byte can begin a unit character: plain numbers pay one comparison.
    if (IsLeadByte(static_cast<unsigned char>(ByteAt(m_cursor)))) kind = ReadUnits();
    if (ByteAt(m_cursor) == 'D') ++m_cursor;
    return kind;
}

// Reads on from the digits just read (m_value) while unit characters and digits follow
// each other directly, the way amounts are written:
// - 万, 億 and 兆 in falling order, each after a group of digits; every group but the
//   first is below 10000 (「１億２３４５万」; the first may be larger: 「１５０００万」);
// - within a group 千, 百 and 十 in falling order, each after one digit or none, as they
//   are read aloud (「３億５千万」, 「１万千」; the first may be larger, as in accounts
//   kept in thousands: 「１２，３４５千円」);
// - digits after the last unit stay below its place (「１万２３４５」, 「３千５００」).
// A 円 that ends the word is stepped over: it adds nothing (「１０００円」, 「２万円」).
// A number against these rules is read to its end all the same and given as
// TokenBadNumber, so that the answer can name it instead of reading something else.
// Kept out of ReadNumber, which plain numbers leave at once.
[[gnu::noinline]] int Scanner::ReadUnits() {
    Amount amount;
    amount.digits = m_value;
    for (int power = UnitPowerAtCursor(); power != 0; power = UnitPowerAtCursor()) {
        m_cursor += 2;
        if (power < 4)
            AddSmallUnit(amount, power);
        else
            AddBigUnit(amount, power);
        amount.first = false;
        amount.hasDigits = false;
        const char c = ByteAt(m_cursor);
        if (IsAsciiDigit(c) || c == '.') {
            amount.digits = ReadDecimal();
            amount.hasDigits = true;
        }
    }
    CloseAmount(amount);
    m_value = amount.total + amount.group;
    return amount.readable ? TokenNumber : TokenBadNumber;
}

// The power of the unit character at the cursor, 0 for any other; a 円 that ends the
// word is stepped over.
int Scanner::UnitPowerAtCursor() {
    const bool isPair = m_cursor + 1 < m_length && m_line[m_cursor + 1] != '\0' &&
                        IsLeadByte(static_cast<unsigned char>(m_line[m_cursor]));
    const unsigned code = isPair ? DbcsCode(m_line + m_cursor) : 0;
    const int power = UnitPower(code);
    if (power == 0 && code == kYen && !IsLeadByte(static_cast<unsigned char>(ByteAt(m_cursor + 2)))) m_cursor += 2;
    return power;
}

double Scanner::ReadDecimal() {
    // The cursor is kept in a register while the digits are read.
    const char* const line = m_line;
    const std::size_t length = m_length;
    const std::size_t start = m_cursor;
    std::size_t cursor = start;
    // The digits go into an integer: up to 15 of them it stays below 2^53, where each
    // step of the double loop below is exact, so the two agree. Longer numbers are read
    // again in the double, which rounds as it always has.
    std::uint64_t digits = 0;
    long places = 0, placeStep = 0;
    for (; cursor < length; ++cursor) {
        const auto d = static_cast<unsigned>(static_cast<unsigned char>(line[cursor])) - static_cast<unsigned>('0');
        if (d < 10) {
            digits = digits * 10 + d;
            places += placeStep;
        } else if (line[cursor] == '.') {
            placeStep = 1;  // later dots are stepped over
        } else {
            break;
        }
    }
    m_cursor = cursor;
    constexpr std::size_t kExactDigits = 15;
    double value = static_cast<double>(digits);
    if (cursor - start > kExactDigits) {
        value = 0;
        for (std::size_t i = start; i < cursor; ++i)
            if (IsAsciiDigit(line[i])) value = value * 10 + (line[i] - '0');
    }
    if (placeStep != 0) value = value / PowerOfTen(places);
    return value;
}

void Scanner::ReadWord() {
    std::size_t n = 0;
    for (;;) {
        if (m_cursor + 1 >= m_length) break;  // a lead byte without its trail byte
        unsigned code = DbcsCode(m_line + m_cursor);
        if (!IsDbcsCode(code)) break;
        if (n + 2 <= kMaxWordChars * 2) {
            m_tokenText[n] = m_line[m_cursor];
            m_tokenText[n + 1] = m_line[m_cursor + 1];
            n += 2;
        }
        m_cursor += 2;
    }
    m_tokenText[n] = '\0';
}

void Scanner::ReadIdentifier() {
    std::size_t n = 0;
    while (IsIdentChar(ByteAt(m_cursor))) {
        if (n < kMaxTokenBytes) m_tokenText[n++] = m_line[m_cursor];
        ++m_cursor;
    }
    m_tokenText[n] = '\0';
}

}  // namespace nelo
