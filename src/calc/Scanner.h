// The token scanner of the calculator's arithmetic and time sums. It reads a
// prepared line that its owner keeps alive and only refers to it, so copying a scanner
// for a look-ahead copies a few words and allocates nothing.
#pragma once

#include <cstddef>
#include <string>

namespace nelo {

/// Token kinds. TokenTilde only appears when GetToken is asked to treat "~" as a token;
/// TokenBadNumber is a number whose 万, 億, 兆, 千, 百 or 十 stand in an order no one reads
/// (「１万億」), its text from the token's start (after blanks) to the cursor.
enum : int {
    TokenLeftParen,
    TokenRightParen,
    TokenMultiply,
    TokenDivide,
    TokenPlus,
    TokenMinus,
    TokenAssign,
    TokenComma,
    TokenEnd,
    TokenWord,
    TokenNumber,
    TokenOther,
    TokenTilde,
    TokenBadNumber,
};

class Scanner {
public:
    /// Longest token text in bytes (the array holds one more for the NUL).
    static constexpr std::size_t kMaxTokenBytes = 127;
    /// Longest double-byte word kept in the token text, in characters.
    static constexpr std::size_t kMaxWordChars = 63;

    /// Starts on a new prepared line (the caller keeps the string alive and unchanged
    /// while scanning): cursor at the start, value 0, token text empty.
    void Reset(const std::string& line);

    /// Scans the next token (its kind, and the value or the token text) and returns its kind.
    /// Note: a lead byte whose pair is no double-byte character gives a TokenWord with an
    /// empty token text WITHOUT moving the cursor, so the same token comes again on the
    /// next call; a caller that loops over tokens must stop on it (see IsStuck).
    int GetToken(bool tildeToken = false);

    /// Makes the next GetToken yield the current token again (one token of put-back).
    void PutBack() { m_cursor = m_tokenStart; }

    /// True when the current token is the empty word of an undecodable pair, which the
    /// cursor does not step over.
    bool IsStuck() const { return m_token == TokenWord && m_tokenText[0] == '\0'; }

    /// The kind of the current token.
    int GetTokenKind() const { return m_token; }
    /// The value of the most recent number token of the line.
    double GetValue() const { return m_value; }
    /// The text of the most recent word, identifier or other token.
    const char* GetTokenText() const { return m_tokenText; }
    /// The next unread byte of the line.
    std::size_t GetCursor() const { return m_cursor; }
    /// Where the current token began, before its blanks.
    std::size_t GetTokenStart() const { return m_tokenStart; }
    /// Fills the token text with blanks, so that no word read before passes for one
    /// read after (a look-ahead on a copy starts with it).
    void BlankTokenText();

    /// The prepared line from byte pos on (empty when pos is past its end).
    const char* LineFrom(std::size_t pos) const { return pos < m_length ? m_line + pos : ""; }
    /// The byte at pos, or NUL past the end of the line.
    char ByteAt(std::size_t pos) const { return pos < m_length ? m_line[pos] : '\0'; }

private:
    int ReadNumber();
    double ReadDecimal();
    int ReadUnits();
    int UnitPowerAtCursor();
    void ReadWord();
    void ReadIdentifier();

    int m_token = TokenEnd;
    double m_value = 0;
    char m_tokenText[kMaxTokenBytes + 1] = {};
    std::size_t m_cursor = 0;
    std::size_t m_tokenStart = 0;
    const char* m_line = "";
    std::size_t m_length = 0;
};

}  // namespace nelo
