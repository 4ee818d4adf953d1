// The token scanner shared by the calculator and the command processor. It reads a
// prepared line that its owner keeps alive and only refers to it, so copying a scanner
// for a look-ahead copies a few words and allocates nothing.
#pragma once

#include <cstddef>
#include <string>

namespace nelo {

/// Token kinds. tokTilde only appears when GetToken is asked to treat "~" as a token;
/// tokBadNumber is a number whose 万, 億, 兆, 千, 百 or 十 stand in an order no one reads
/// (「１万億」), its text from the token's start (after blanks) to the cursor.
enum : int {
    tokLParen,
    tokRParen,
    tokMul,
    tokDiv,
    tokPlus,
    tokMinus,
    tokAssign,
    tokComma,
    tokEnd,
    tokWord,
    tokNumber,
    tokOther,
    tokTilde,
    tokBadNumber,
};

struct Scanner {
    /// Longest token text in bytes (the array holds one more for the NUL).
    static constexpr std::size_t kMaxTokenBytes = 127;
    /// Longest double-byte word kept in the token text, in characters.
    static constexpr std::size_t kMaxWordChars = 63;

    int m_token = tokEnd;          ///< kind of the current token
    double m_value = 0;            ///< value of the most recent number token of the line
    char m_tokenText[128] = {};    ///< text of the most recent word, identifier or other token
    std::size_t m_cursor = 0;      ///< next unread byte of the line
    std::size_t m_tokenStart = 0;  ///< where the current token began, before its blanks

    /// Starts on a new prepared line (the caller keeps the string alive and unchanged
    /// while scanning): cursor at the start, value 0, token text empty.
    void Reset(const std::string& line);

    /// Scans the next token into m_token (and m_value / m_tokenText) and returns its kind.
    /// Note: a lead byte whose pair is no double-byte character gives a tokWord with an
    /// empty m_tokenText WITHOUT moving the cursor, so the same token comes again on the
    /// next call; a caller that loops over tokens must stop on it (see IsStuck).
    int GetToken(bool tildeToken = false);

    /// Makes the next GetToken yield the current token again (one token of put-back).
    void PutBack() { m_cursor = m_tokenStart; }

    /// True when the current token is the empty word of an undecodable pair, which the
    /// cursor does not step over.
    bool IsStuck() const { return m_token == tokWord && m_tokenText[0] == '\0'; }

    /// Steps over one byte: a loop over tokens can use it to get past IsStuck.
    void SkipByte() {
        if (m_cursor < m_length && m_line[m_cursor] != '\0') ++m_cursor;
    }

    /// The prepared line from byte pos on (empty when pos is past its end).
    const char* LineFrom(std::size_t pos) const { return pos < m_length ? m_line + pos : ""; }
    std::size_t LineLength() const { return m_length; }
    /// The byte at pos, or NUL past the end of the line.
    char ByteAt(std::size_t pos) const { return pos < m_length ? m_line[pos] : '\0'; }

private:
    int ReadNumber();
    double ReadDecimal();
    int ReadUnits();
    void ReadWord();
    void ReadIdentifier();

    const char* m_line = "";
    std::size_t m_length = 0;
};

}  // namespace nelo
