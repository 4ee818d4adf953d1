#include "calc/CalcScanner.h"

#include "text/JText.h"

#include <cmath>

namespace {

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

inline bool IsIdentChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsAsciiDigit(c) || c == '_' || c == '@' || c == '#';
}

}  // namespace

void CCalcScanner::Reset(const std::string& line) {
    m_pLine = line.c_str();
    m_nLength = line.size();
    m_nCursor = 0;
    m_nTokenStart = 0;
    m_nToken = tokEnd;
    m_dValue = 0;
    m_szToken[0] = '\0';
}

int CCalcScanner::GetToken(bool bTildeToken) {
    m_nTokenStart = m_nCursor;
    while (ByteAt(m_nCursor) == ' ' || ByteAt(m_nCursor) == '\t') ++m_nCursor;

    char c = ByteAt(m_nCursor);
    if (IsLeadByte(static_cast<unsigned char>(c))) {
        ReadWord();
        return m_nToken = tokWord;
    }
    // The terminating NUL is never stepped over: the end of the line stays the end.
    if (c == '\0') return m_nToken = tokEnd;
    ++m_nCursor;
    switch (c) {
    case '\n':
    case ';': return m_nToken = tokEnd;
    case '(': return m_nToken = tokLParen;
    case ')': return m_nToken = tokRParen;
    case '*': return m_nToken = tokMul;
    case '+': return m_nToken = tokPlus;
    case '-': return m_nToken = tokMinus;
    case '/': return m_nToken = tokDiv;
    case '=': return m_nToken = tokAssign;
    case ',': return m_nToken = tokComma;
    default: break;
    }
    if (c == '~' && bTildeToken) return m_nToken = tokTilde;
    if (IsAsciiDigit(c) || c == '.') {
        --m_nCursor;
        ReadNumber();
        return m_nToken = tokNumber;
    }
    if (IsIdentChar(c)) {
        --m_nCursor;
        ReadIdentifier();
        return m_nToken = tokWord;
    }
    m_szToken[0] = c;
    m_szToken[1] = '\0';
    return m_nToken = tokOther;
}

void CCalcScanner::ReadNumber() {
    double value = 0;
    bool bDecimal = false;
    long places = 0;
    for (;;) {
        char c = ByteAt(m_nCursor);
        if (IsAsciiDigit(c)) {
            value = value * 10 + (c - '0');
            if (bDecimal) ++places;
        } else if (c == '.') {
            bDecimal = true;  // later dots are stepped over
        } else {
            break;
        }
        ++m_nCursor;
    }
    if (bDecimal) value = value / std::pow(10.0, static_cast<double>(places));
    if (ByteAt(m_nCursor) == 'D') ++m_nCursor;
    m_dValue = value;
}

void CCalcScanner::ReadWord() {
    std::size_t n = 0;
    for (;;) {
        if (m_nCursor + 1 >= m_nLength) break;  // a lead byte without its trail byte
        unsigned code = DbcsCode(m_pLine + m_nCursor);
        if (!IsDbcsCode(code)) break;
        if (n + 2 <= kMaxWordChars * 2) {
            m_szToken[n] = m_pLine[m_nCursor];
            m_szToken[n + 1] = m_pLine[m_nCursor + 1];
            n += 2;
        }
        m_nCursor += 2;
    }
    m_szToken[n] = '\0';
}

void CCalcScanner::ReadIdentifier() {
    std::size_t n = 0;
    while (IsIdentChar(ByteAt(m_nCursor))) {
        if (n < kMaxTokenBytes) m_szToken[n++] = m_pLine[m_nCursor];
        ++m_nCursor;
    }
    m_szToken[n] = '\0';
}
