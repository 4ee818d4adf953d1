#include "schedule/ICalendarParse.h"

#include "schedule/ICalendar.h"
#include "text/Sjis.h"

#include <cctype>

namespace {

// Values of date properties and durations are short; anything longer is no date.
constexpr std::size_t kMaxDateValueBytes = 64;
// Components deeper than this (a calendar, an event, an alarm and some room) are refused.
constexpr std::size_t kMaxDepth = 8;

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string LineText(std::size_t nLine) { return std::to_string(nLine) + " 行目"_sj; }

// A content line split into its name, the parameters the exchange reads and its value.
struct ContentLine {
    std::string strName;  // upper case
    std::string strValueParam;
    std::string strTzid;
    std::string_view value;
};

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; }

bool SplitContentLine(std::string_view line, ContentLine& out) {
    std::size_t i = 0;
    while (i < line.size() && IsNameChar(line[i])) ++i;
    if (i == 0 || i == line.size()) return false;
    out.strName = Upper(line.substr(0, i));
    while (line[i] == ';') {
        const std::size_t nameStart = ++i;
        while (i < line.size() && IsNameChar(line[i])) ++i;
        if (i == nameStart || i == line.size() || line[i] != '=') return false;
        const std::string param = Upper(line.substr(nameStart, i - nameStart));
        ++i;
        std::string value;
        // A parameter may hold several values separated by commas; the first is kept.
        bool bFirst = true;
        for (;;) {
            std::string one;
            if (i < line.size() && line[i] == '"') {
                const std::size_t close = line.find('"', i + 1);
                if (close == std::string_view::npos) return false;
                one = line.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const std::size_t stop = line.find_first_of(";:,", i);
                if (stop == std::string_view::npos) return false;
                one = line.substr(i, stop - i);
                i = stop;
            }
            if (bFirst) value = one;
            bFirst = false;
            if (i < line.size() && line[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i >= line.size()) return false;
        if (param == "VALUE") out.strValueParam = Upper(value);
        if (param == "TZID") out.strTzid = value;
    }
    if (line[i] != ':') return false;
    out.value = line.substr(i + 1);
    return true;
}

void SetEventError(ICalEvent& ev, std::string text) {
    if (ev.strError.empty()) ev.strError = std::move(text);
}

void ReadDateProp(ICalEvent& ev, ICalDateProp& prop, const ContentLine& cl) {
    if (prop.bPresent) return;  // the first one counts
    prop.bPresent = true;
    if (cl.value.size() > kMaxDateValueBytes) {
        SetEventError(ev, "日時が長すぎます。"_sj);
        return;
    }
    prop.strValue = cl.value;
    prop.bDateValue = cl.strValueParam == "DATE";
    prop.strTzid = cl.strTzid.substr(0, kMaxDateValueBytes);
}

void ReadEventProperty(ICalEvent& ev, const ContentLine& cl) {
    const std::string& name = cl.strName;
    if (name == "SUMMARY") {
        if (!ev.bSummary) ev.strSummary = UnescapeICalText(cl.value);
        ev.bSummary = true;
    } else if (name == "DTSTART") {
        ReadDateProp(ev, ev.start, cl);
    } else if (name == "DTEND") {
        ReadDateProp(ev, ev.end, cl);
    } else if (name == "DURATION") {
        ev.strDuration = cl.value.substr(0, kMaxDateValueBytes);
    } else if (name == "RRULE" || name == "RDATE") {
        ev.bRecurring = true;
    } else if (name == "X-NELO-START") {
        ev.bStartDateOnly = Upper(cl.value) == "DATE";
    } else if (name == "X-NELO-END") {
        ev.bEndDateOnly = Upper(cl.value) == "DATE";
    }
}

// The structure of the text: its components, and the events inside its calendars.
class CICalReader {
public:
    CICalReader(std::vector<ICalEvent>& events, std::string& error) : m_events(events), m_error(error) {}

    // One unfolded line; false when the text is refused.
    bool Line(std::string_view line, std::size_t nLine) {
        ContentLine cl;
        const bool bOk = SplitContentLine(line, cl);
        if (!m_bStarted) {
            if (!bOk || cl.strName != "BEGIN" || Upper(cl.value) != "VCALENDAR")
                return Fail("iCalendar のファイルではありません（BEGIN:VCALENDAR で始まっていません）。"_sj);
            m_bStarted = true;
        }
        if (bOk && cl.strName == "BEGIN") return Begin(Upper(cl.value), nLine);
        if (bOk && cl.strName == "END") return End(Upper(cl.value), nLine);
        if (m_stack.empty()) return Fail(LineText(nLine) + ": VCALENDAR の外に行があります。"_sj);
        if (InEvent()) {
            if (bOk)
                ReadEventProperty(m_events.back(), cl);
            else
                SetEventError(m_events.back(), LineText(nLine) + "の書式が正しくありません。"_sj);
        }
        return true;
    }

    // The end of the text; false when a component is still open.
    bool Finish() {
        if (!m_bStarted) return Fail("iCalendar のファイルではありません（空のファイルです）。"_sj);
        if (!m_stack.empty())
            return Fail("END:" + m_stack.back().first + " がありません（"_sj + LineText(m_stack.back().second) +
                        "の BEGIN:"_sj + m_stack.back().first + "）。"_sj);
        return true;
    }

    bool Fail(std::string text) {
        m_error = std::move(text);
        m_events.clear();
        return false;
    }

private:
    bool InEvent() const { return m_stack.size() == 2 && m_stack.back().first == "VEVENT"; }

    bool Begin(const std::string& name, std::size_t nLine) {
        if (m_stack.empty() && name != "VCALENDAR")
            return Fail(LineText(nLine) + ": VCALENDAR の外に行があります。"_sj);
        if (m_stack.size() >= kMaxDepth) return Fail(LineText(nLine) + ": 入れ子が深すぎます。"_sj);
        m_stack.emplace_back(name.substr(0, 64), nLine);
        if (InEvent()) {
            if (m_events.size() >= kICalMaxEvents)
                return Fail("予定が多すぎます（"_sj + std::to_string(kICalMaxEvents) + " 件まで）。"_sj);
            m_events.emplace_back();
            m_events.back().nLine = nLine;
        }
        return true;
    }

    bool End(const std::string& name, std::size_t nLine) {
        if (m_stack.empty() || m_stack.back().first != name)
            return Fail(LineText(nLine) + ": END:"_sj + name.substr(0, 64) + " に対応する BEGIN がありません。"_sj);
        m_stack.pop_back();
        return true;
    }

    std::vector<ICalEvent>& m_events;
    std::string& m_error;
    std::vector<std::pair<std::string, std::size_t>> m_stack;  // open components and their lines
    bool m_bStarted = false;
};

}  // namespace

bool ParseICalendar(std::string_view data, std::vector<ICalEvent>& events, std::string& error) {
    events.clear();
    error.clear();
    if (data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
    CICalReader reader(events, error);
    std::string logical;
    std::size_t nLogicalLine = 0;
    bool bPending = false;
    std::size_t nLine = 0;
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::size_t eol = data.find('\n', pos);
        if (eol == std::string_view::npos) eol = data.size();
        std::string_view phys = data.substr(pos, eol - pos);
        pos = eol + 1;
        ++nLine;
        if (!phys.empty() && phys.back() == '\r') phys.remove_suffix(1);
        if (!phys.empty() && (phys[0] == ' ' || phys[0] == '\t') && bPending) {
            // A folded line continues the one before it.
            if (logical.size() + phys.size() - 1 > kICalMaxLineBytes)
                return reader.Fail(LineText(nLogicalLine) + "が長すぎます。"_sj);
            logical.append(phys.substr(1));
            continue;
        }
        if (bPending && !reader.Line(logical, nLogicalLine)) return false;
        bPending = false;
        if (phys.empty()) continue;
        if (phys.size() > kICalMaxLineBytes) return reader.Fail(LineText(nLine) + "が長すぎます。"_sj);
        logical.assign(phys);
        nLogicalLine = nLine;
        bPending = true;
    }
    if (bPending && !reader.Line(logical, nLogicalLine)) return false;
    return reader.Finish();
}

std::string UnescapeICalText(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            c = value[++i];
            if (c == 'n' || c == 'N') c = '\n';
        }
        out += c;
    }
    return out;
}

long long DaysFromCivil(int year, int month, int day) {
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long days, int& year, int& month, int& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}
