// Helpers shared by the date sources (not used outside src/dates).
#pragma once

#include <ctime>
#include <initializer_list>
#include <string>

/// Position of the word (code page 932) in text, found at character boundaries only;
/// npos when absent.
std::string::size_type FindWord(const std::string& text, const char* word);
/// Searches one text for many words, most of them absent. The kanji of the text (the
/// double-byte characters whose lead byte is 0x88 or above, where every keyword of the
/// date parser starts) are noted once in a set of 512 bits by the low nine bits of their
/// code, so a word whose first kanji is not among them is settled without a search; a
/// text of digits and marks is recognised by one pass over its bytes. Words that start
/// otherwise are always searched. The text may lose characters to blanks afterwards,
/// never gain others.
class CWordSearch {
public:
    /// A set of first characters, for MayHoldAny.
    struct Chars {
        unsigned long long bits[8] = {};
        bool bAlways = false;  ///< a word starts with no kanji: the set cannot tell
    };

    explicit CWordSearch(const std::string& text);
    std::string::size_type Find(const char* word) const;
    bool Has(const char* word) const { return Find(word) != std::string::npos; }
    /// The first characters of the words.
    static Chars FirstCharsOf(std::initializer_list<const char*> words);
    /// False when the text surely holds none of the words whose FirstCharsOf is given.
    bool MayHoldAny(const Chars& firstChars) const {
        if (firstChars.bAlways) return true;
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
