#include "dates/CommandLine.h"

#include "text/JText.h"
#include "text/Sjis.h"

namespace nelo {

namespace {

// A line of double-byte characters and ASCII blanks or tabs (as the notebook hands on
// every line it has made full width) is prepared as AppendFullWidthHalfBlank would, with
// "　" made " ", and split into its words in the same walk; false at the first other
// byte (then line and words are to be made the general way).
bool ReadWideLine(std::string_view text, std::string& line, std::vector<std::string_view>& words) {
    line.resize(text.size());
    char* const out = line.data();
    std::size_t o = 0;     // the bytes written
    std::size_t from = 0;  // where the current word starts in out
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const bool fullBlank = c == '\x81' && i + 1 < text.size() && text[i + 1] == '\x40';
        if (c == ' ' || c == '\t' || fullBlank) {
            if (o > from) words.emplace_back(out + from, o - from);
            out[o++] = fullBlank ? ' ' : c;
            from = o;
            i += fullBlank ? 2 : 1;
            continue;
        }
        // A trail byte below 0x40 (a blank or a tab among them, which splits words the
        // general way) belongs to no character: that line goes the general way.
        if (!IsLeadByte(static_cast<unsigned char>(c)) || i + 1 >= text.size() ||
            static_cast<unsigned char>(text[i + 1]) < 0x40)
            return false;
        out[o] = c;
        out[o + 1] = text[i + 1];
        o += 2;
        i += 2;
    }
    if (o > from) words.emplace_back(out + from, o - from);
    line.resize(o);
    return true;
}

}  // namespace

bool CommandLine::Read(const std::string& text) {
    m_words.clear();
    if (!ReadWideLine(text, m_line, m_words)) {
        m_words.clear();
        m_line.clear();
        AppendFullWidthHalfBlank(m_line, text);
        SplitWords();
    }
    // A line is a sequence of double-byte words once converted; anything else is not ours.
    return !m_words.empty() && IsLeadByte(static_cast<unsigned char>(m_words[0][0]));
}

void CommandLine::SplitWords() {
    // Blanks are single ASCII blanks or tabs by now.
    const std::string_view s(m_line);
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const std::size_t from = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > from) m_words.push_back(s.substr(from, i - from));
    }
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
