#include "calendar/ICalStream.h"

#include "platform/CodePage.h"
#include "text/Sjis.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace nelo {

namespace {

// Components deeper than this (a calendar, an event, an alarm and some room) are refused.
constexpr std::size_t kMaxDepth = 8;
// Component names are short; a longer one is kept to this many bytes in messages.
constexpr std::size_t kMaxNameBytes = 64;

std::string LineText(std::size_t lineNumber) { return std::to_string(lineNumber) + " 行目"_sj; }

// The text as libical asks for it: pieces of at most size - 1 bytes that end at a line
// end at the latest, as fgets gives them.
struct Feed {
    std::string_view text;
    std::size_t pos = 0;
    std::size_t nextLine = 1;   // the line of the byte at pos
    std::size_t pieceLine = 1;  // the line the last piece handed out starts on
};

char* NextPiece(char* out, std::size_t size, void* data) {
    Feed& feed = *static_cast<Feed*>(data);
    if (size < 2 || feed.pos >= feed.text.size()) {
        if (size > 0) out[0] = '\0';
        return nullptr;
    }
    std::size_t n = std::min(size - 1, feed.text.size() - feed.pos);
    const char* start = feed.text.data() + feed.pos;
    if (const void* eol = std::memchr(start, '\n', n))
        n = static_cast<std::size_t>(static_cast<const char*>(eol) - start) + 1;
    std::memcpy(out, start, n);
    out[n] = '\0';
    feed.pieceLine = feed.nextLine;
    if (out[n - 1] == '\n') ++feed.nextLine;
    feed.pos += n;
    return out;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// The name a content line starts with (up to its first ";" or ":"), and for BEGIN and
// END lines the component they name; both upper case.
void SplitName(std::string_view line, std::string& name, std::string& component) {
    const std::size_t stop = line.find_first_of(";:");
    name = Upper(Trim(line.substr(0, stop)));
    component.clear();
    if (name == "BEGIN" || name == "END") {
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos) component = Upper(Trim(line.substr(colon + 1)));
    }
}

bool IsBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
}

std::string Shown(const std::string& name) { return Utf8ToCp932(name.substr(0, kMaxNameBytes)).text; }

// Reads the content lines of a calendar one at a time, keeps track of the components
// they open and close, and hands each component inside the calendar to the sink when
// its END has been read.
class ComponentReader {
public:
    ComponentReader(std::string_view text, const ICalComponentSink& sink, std::string& error)
        : m_feed{text}, m_sink(sink), m_error(error) {}

    // false (error set) when the text is refused or the sink stops the reading.
    bool ReadAll();

private:
    // What becomes of one line: libical reads it, it is passed over, or the reading stops.
    enum class LineRoute { Parse, Skip, Stop };

    LineRoute Route(std::size_t lineNumber);
    LineRoute Begin(std::size_t lineNumber);
    LineRoute End(std::size_t lineNumber);
    bool Parse(char* line, std::size_t lineNumber);
    bool Finish();
    bool IsCalendarBegin() const { return m_name == "BEGIN" && m_component == "VCALENDAR"; }
    LineRoute Refuse(std::string why) {
        m_error = std::move(why);
        return LineRoute::Stop;
    }

    ICalParserPtr m_parser;
    Feed m_feed;
    const ICalComponentSink& m_sink;
    std::string& m_error;
    std::vector<std::pair<std::string, std::size_t>> m_open;  // open components and their lines
    bool m_started = false;
    ICalTopComponent m_current;
    std::string m_name, m_component;  // of the line being read
};

bool ComponentReader::ReadAll() {
    m_parser.reset(icalparser_new());
    if (!m_parser) {
        m_error = "iCalendar を読む準備ができませんでした。"_sj;
        return false;
    }
    icalparser_set_gen_data(m_parser.get(), &m_feed);
    // libical reads one piece ahead to see whether the next line continues the one it
    // returns: a returned line starts where the look-ahead piece of the call before it did.
    std::size_t ahead = 1;
    for (;;) {
        ICalBufferPtr line(icalparser_get_line(m_parser.get(), NextPiece));
        if (!line) break;
        const std::size_t lineNumber = ahead;
        ahead = m_feed.pieceLine;
        const std::string_view lineText(line.get());
        if (IsBlank(lineText)) continue;
        if (lineText.size() > kICalMaxLineBytes) {
            m_error = LineText(lineNumber) + "が長すぎます。"_sj;
            return false;
        }
        SplitName(lineText, m_name, m_component);
        const LineRoute route = Route(lineNumber);
        if (route == LineRoute::Stop) return false;
        if (route == LineRoute::Parse && !Parse(line.get(), lineNumber)) return false;
    }
    return Finish();
}

ComponentReader::LineRoute ComponentReader::Route(std::size_t lineNumber) {
    if (!m_started) {
        if (!IsCalendarBegin())
            return Refuse("iCalendar のファイルではありません（BEGIN:VCALENDAR で始まっていません）。"_sj);
        m_started = true;
    }
    if (m_open.empty()) {
        if (!IsCalendarBegin()) return Refuse(LineText(lineNumber) + ": VCALENDAR の外に行があります。"_sj);
        m_open.emplace_back(m_component, lineNumber);
        return LineRoute::Skip;
    }
    if (m_name == "BEGIN") return Begin(lineNumber);
    if (m_name == "END") return End(lineNumber);
    // A property of the calendar itself (VERSION, PRODID, METHOD…) is passed over.
    return m_open.size() == 1 ? LineRoute::Skip : LineRoute::Parse;
}

ComponentReader::LineRoute ComponentReader::Begin(std::size_t lineNumber) {
    if (m_open.size() >= kMaxDepth) return Refuse(LineText(lineNumber) + ": 入れ子が深すぎます。"_sj);
    if (m_open.size() == 1) {
        m_current = ICalTopComponent{};
        m_current.lineNumber = lineNumber;
    }
    m_open.emplace_back(m_component.substr(0, kMaxNameBytes), lineNumber);
    return LineRoute::Parse;
}

ComponentReader::LineRoute ComponentReader::End(std::size_t lineNumber) {
    if (m_open.back().first != m_component.substr(0, kMaxNameBytes))
        return Refuse(LineText(lineNumber) + ": END:"_sj + Shown(m_component) + " に対応する BEGIN がありません。"_sj);
    m_open.pop_back();
    // The calendar's own END is passed over.
    return m_open.empty() ? LineRoute::Skip : LineRoute::Parse;
}

// libical reads the line; a component it completes goes to the sink.
bool ComponentReader::Parse(char* line, std::size_t lineNumber) {
    icalcomponent* done = icalparser_add_line(m_parser.get(), line);
    if (icalparser_get_state(m_parser.get()) == ICALPARSER_ERROR) m_current.badLines.push_back({lineNumber, m_name});
    if (!done) return true;
    m_current.component.reset(done);
    if (!m_sink(std::move(m_current))) return false;
    m_current = ICalTopComponent{};
    return true;
}

// The end of the text: a calendar was read, and every component closed.
bool ComponentReader::Finish() {
    if (!m_started) {
        m_error = "iCalendar のファイルではありません（空のファイルです）。"_sj;
        return false;
    }
    if (!m_open.empty()) {
        m_error = "END:" + Shown(m_open.back().first) + " がありません（"_sj + LineText(m_open.back().second) +
                  "の BEGIN:"_sj + Shown(m_open.back().first) + "）。"_sj;
        return false;
    }
    return true;
}

}  // namespace

bool ReadICalComponents(std::string_view text, const ICalComponentSink& sink, std::string& error) {
    UseICalQuietly();
    error.clear();
    // libical reads C strings: a NUL would end the text early without a word.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        const auto lineEnds = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n');
        error = LineText(1 + static_cast<std::size_t>(lineEnds)) + "に NUL 文字があります。"_sj;
        return false;
    }
    ComponentReader reader(text, sink, error);
    return reader.ReadAll();
}

}  // namespace nelo
