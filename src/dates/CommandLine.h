// A line of route Command split into its words, as the schedule book and the date
// commands read it: the text in full width with its blanks made single ASCII blanks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nelo {

class CommandLine {
public:
    /// Prepares text; false when it is no sequence of double-byte words (then the line is
    /// none of the commands').
    bool Read(const std::string& text);
    /// The words of the line read last; they point into this object.
    const std::vector<std::string_view>& GetWords() const { return m_words; }
    /// The words from `from` on joined by one full-width blank.
    std::string JoinFrom(std::size_t from) const;

private:
    // Splits m_line (blanks made single ASCII blanks or tabs) into m_words.
    void SplitWords();

    std::string m_line;                     // the prepared line
    std::vector<std::string_view> m_words;  // its words (into m_line)
};

}  // namespace nelo
