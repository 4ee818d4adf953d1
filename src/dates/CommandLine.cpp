#include "dates/CommandLine.h"

#include "text/JText.h"
#include "text/Sjis.h"

namespace nelo {

bool CommandLine::Read(const std::string& text) {
    m_line.clear();
    AppendFullWidthHalfBlank(m_line, text);
    m_words.clear();
    // Blanks are single ASCII blanks or tabs by now.
    const std::string_view s(m_line);
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const std::size_t from = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > from) m_words.push_back(s.substr(from, i - from));
    }
    // A line is a sequence of double-byte words once converted; anything else is not ours.
    return !m_words.empty() && IsLeadByte(static_cast<unsigned char>(m_words[0][0]));
}

std::string CommandLine::JoinFrom(std::size_t from) const {
    std::string out;
    for (std::size_t i = from; i < m_words.size(); ++i) {
        if (i > from) out += "　"_sj;
        out.append(m_words[i]);
    }
    return out;
}

}  // namespace nelo
