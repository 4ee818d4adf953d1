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
    if (const void* eol = std::memchr(start, '\n', n)) n = static_cast<const char*>(eol) - start + 1;
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

}  // namespace

bool ReadICalComponents(std::string_view text, const ICalComponentSink& sink, std::string& error) {
    UseICalQuietly();
    error.clear();
    auto fail = [&error](std::string why) {
        error = std::move(why);
        return false;
    };
    // libical reads C strings: a NUL would end the text early without a word.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        return fail(LineText(1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n')) +
                    "に NUL 文字があります。"_sj);

    ICalParserPtr parser(icalparser_new());
    if (!parser) return fail("iCalendar を読む準備ができませんでした。"_sj);
    Feed feed{text};
    icalparser_set_gen_data(parser.get(), &feed);

    std::vector<std::pair<std::string, std::size_t>> open;  // open components and their lines
    bool started = false;
    ICalTopComponent current;
    std::string name, component;
    // libical reads one piece ahead to see whether the next line continues the one it
    // returns: a returned line starts where the look-ahead piece of the call before it did.
    std::size_t ahead = 1;
    for (;;) {
        ICalBufferPtr line(icalparser_get_line(parser.get(), NextPiece));
        if (!line) break;
        const std::size_t lineNumber = ahead;
        ahead = feed.pieceLine;
        const std::string_view lineText(line.get());
        if (IsBlank(lineText)) continue;
        if (lineText.size() > kICalMaxLineBytes) return fail(LineText(lineNumber) + "が長すぎます。"_sj);
        SplitName(lineText, name, component);

        if (!started) {
            if (name != "BEGIN" || component != "VCALENDAR")
                return fail("iCalendar のファイルではありません（BEGIN:VCALENDAR で始まっていません）。"_sj);
            started = true;
        }
        if (open.empty()) {
            if (name != "BEGIN" || component != "VCALENDAR")
                return fail(LineText(lineNumber) + ": VCALENDAR の外に行があります。"_sj);
            open.emplace_back(component, lineNumber);
            continue;
        }
        if (name == "BEGIN") {
            if (open.size() >= kMaxDepth) return fail(LineText(lineNumber) + ": 入れ子が深すぎます。"_sj);
            if (open.size() == 1) {
                current = ICalTopComponent{};
                current.lineNumber = lineNumber;
            }
            open.emplace_back(component.substr(0, kMaxNameBytes), lineNumber);
        } else if (name == "END") {
            if (open.back().first != component.substr(0, kMaxNameBytes))
                return fail(LineText(lineNumber) + ": END:"_sj + Shown(component) +
                            " に対応する BEGIN がありません。"_sj);
            open.pop_back();
            if (open.empty()) continue;  // the calendar's own END
        } else if (open.size() == 1) {
            continue;  // a property of the calendar itself (VERSION, PRODID, METHOD…)
        }

        icalcomponent* done = icalparser_add_line(parser.get(), line.get());
        if (icalparser_get_state(parser.get()) == ICALPARSER_ERROR) current.badLines.push_back({lineNumber, name});
        if (done) {
            current.component.reset(done);
            if (!sink(std::move(current))) return false;
            current = ICalTopComponent{};
        }
    }
    if (!started) return fail("iCalendar のファイルではありません（空のファイルです）。"_sj);
    if (!open.empty())
        return fail("END:" + Shown(open.back().first) + " がありません（"_sj + LineText(open.back().second) +
                    "の BEGIN:"_sj + Shown(open.back().first) + "）。"_sj);
    return true;
}

}  // namespace nelo
