// Helpers shared by the date sources (not used outside src/dates).
#pragma once

#include <ctime>
#include <initializer_list>
#include <string>

/// Position of the word (code page 932) in text, found at character boundaries only;
/// npos when absent.
std::string::size_type FindWord(const std::string& text, const char* word);
/// True when the text contains the word at a character boundary.
inline bool HasWord(const std::string& text, const char* word) { return FindWord(text, word) != std::string::npos; }
/// Searches one text for many words, most of them absent. The double-byte characters of
/// the text are noted once in a set of 512 bits (the low nine bits of the code: the digits
/// and marks of a date never share a bit with the kanji that start its keywords), so a
/// word whose first character is not among them is settled without a search; words that
/// start with a single byte are always searched. The text may lose characters to blanks
/// afterwards, never gain others.
class CWordSearch {
public:
    /// A set of first characters, for MayHoldAny.
    struct Chars {
        unsigned long long bits[8] = {};
    };

    explicit CWordSearch(const std::string& text);
    std::string::size_type Find(const char* word) const;
    bool Has(const char* word) const { return Find(word) != std::string::npos; }
    /// The first characters of the words (each starting with a double-byte character).
    static Chars FirstCharsOf(std::initializer_list<const char*> words);
    /// False when the text surely holds none of the words whose FirstCharsOf is given.
    bool MayHoldAny(const Chars& firstChars) const {
        unsigned long long any = 0;
        for (int k = 0; k < 8; ++k) any |= m_chars.bits[k] & firstChars.bits[k];
        return any != 0;
    }

private:
    const std::string& m_strText;
    Chars m_chars;
};

/// Working date := today's date (time of day unchanged).
void SetToday();
/// Today's local date and time from the program's clock.
std::tm Today();
/// Parses the digits at text[from..] as a non-negative number, saturating far above
/// any date; 0 when no digit starts there.
int ReadNumber(const std::string& text, std::string::size_type from = 0);
