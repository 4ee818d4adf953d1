// The reading side of the calendar exchange: each event becomes the words of a typed
// schedule line (start phrase, end phrase, business) and is registered as that line
// would be, with the same date rules and the same conflict answer.
#include "schedule/ICalendar.h"

#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"
#include "schedule/CmdPro.h"
#include "schedule/ICalendarParse.h"
#include "text/JText.h"
#include "text/Sjis.h"

#include <sys/stat.h>

namespace {

// A business longer than this is cut (a typed line holds about as much).
constexpr std::size_t kMaxBusinessBytes = 1000;
// The answer details at most this many events (refused ones and conflicts).
constexpr int kMaxDetails = 50;

// A date phrase as a user would type it: 「２００３年６月２日１０時３０分」.
std::string Phrase(const ICalLocal& d) {
    std::string text =
        std::to_string(d.year) + "年"_sj + std::to_string(d.month) + "月"_sj + std::to_string(d.day) + "日"_sj;
    if (d.hour >= 0) text += std::to_string(d.hour) + "時"_sj + std::to_string(d.minute) + "分"_sj;
    return ToFullWidth(text);
}

ICalLocal AddDays(ICalLocal d, long long n) {
    CivilFromDays(DaysFromCivil(d.year, d.month, d.day) + n, d.year, d.month, d.day);
    return d;
}

long long DayNumber(const ICalLocal& d) { return DaysFromCivil(d.year, d.month, d.day); }

// The SUMMARY as a business: code page 932, every run of blanks and control characters
// one full-width blank (a business is one line), cut to kMaxBusinessBytes.
std::string Business(const std::string& summary) {
    std::string utf8;
    bool bBlank = false;
    for (char c : summary) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == ' ') {
            bBlank = !utf8.empty();
            continue;
        }
        if (bBlank) utf8 += "\xE3\x80\x80";  // U+3000
        bBlank = false;
        // Cut before a character that would not fit whole.
        if (utf8.size() >= kMaxBusinessBytes && (u & 0xC0) != 0x80) break;
        utf8 += c;
    }
    return Utf8ToCp932(utf8).text;
}

// The words of the event's typed line; false with the reason when it has none.
bool EventWords(const ICalEvent& ev, std::string& start, std::string& end, std::string& error) {
    if (!ev.strError.empty()) {
        error = ev.strError;
        return false;
    }
    if (!ev.start.bPresent) {
        error = "開始日時（DTSTART）がありません。"_sj;
        return false;
    }
    ICalLocal s;
    if (!ICalToLocal(ev.start, s, error)) return false;
    const bool bStartDate = s.hour < 0;
    if (ev.bStartDateOnly) s.hour = -1;

    ICalLocal e;
    bool bEnd = false;
    if (ev.end.bPresent) {
        if (!ICalToLocal(ev.end, e, error)) return false;
        bEnd = true;
    } else if (!ev.strDuration.empty()) {
        e = s;
        if (bStartDate) e.hour = -1;
        if (!AddICalDuration(e, ev.strDuration)) {
            error = "期間（DURATION）「"_sj + Utf8ToCp932(ev.strDuration).text + "」が正しくありません。"_sj;
            return false;
        }
        bEnd = true;
    }
    if (bEnd && e.hour < 0) {
        // A date end is exclusive: the last day is the one before it. A single day has no end.
        e = AddDays(e, -1);
        if (DayNumber(e) < DayNumber(s) || (DayNumber(e) == DayNumber(s) && !ev.bEndDateOnly)) bEnd = false;
    } else if (bEnd && ev.bEndDateOnly) {
        e = AddDays(e, e.hour == 0 && e.minute == 0 ? -1 : 0);
        e.hour = -1;
    }
    start = Phrase(s);
    end = bEnd ? Phrase(e) : std::string();
    return true;
}

std::string SummaryText(const ICalEvent& ev) {
    std::string b = Business(ev.strSummary);
    if (b.size() > 40) {
        std::size_t cut = 0;
        while (cut < 40) cut += DbcsAt(b, cut) ? 2 : 1;
        b = b.substr(0, cut) + "…"_sj;
    }
    return "「"_sj + b + "」"_sj;
}

}  // namespace

ICalImportResult ImportICalendar(CCmdPro& cmdPro, std::string_view data, std::string& answer) {
    ICalImportResult result;
    std::vector<ICalEvent> events;
    std::string error;
    if (data.size() > kICalMaxFileBytes) {
        error = "ファイルが大きすぎます（"_sj + std::to_string(kICalMaxFileBytes >> 20) + " MB まで）。"_sj;
    } else {
        ParseICalendar(data, events, error);
    }
    if (!error.empty()) {
        result.bFileRefused = true;
        answer = error + "\r\n" + std::string("予定は登録しませんでした。"_sj);
        return result;
    }

    const std::string overText = LoadStringId(IDS_SCHEDULE_REGISTERED_OVER);
    std::string details;
    int nDetails = 0, nMore = 0;
    auto detail = [&](const std::string& text) {
        if (nDetails++ < kMaxDetails)
            details += "\r\n" + text;
        else
            ++nMore;
    };
    for (std::size_t i = 0; i < events.size(); ++i) {
        const ICalEvent& ev = events[i];
        const std::string where =
            std::to_string(i + 1) + " 件目（"_sj + std::to_string(ev.nLine) + " 行目）"_sj + SummaryText(ev) + ": ";
        std::string start, end, reason, one;
        if (!EventWords(ev, start, end, reason)) {
            ++result.nRefused;
            detail(where + reason);
            continue;
        }
        if (cmdPro.RegisterPhrases(start, end, Business(ev.strSummary), one) != 1) {
            ++result.nRefused;
            detail(where + one);
            continue;
        }
        ++result.nRead;
        if (ev.bRecurring) ++result.nRecurring;
        if (one.compare(0, overText.size(), overText) == 0) detail(one);
    }

    answer = "予定を "_sj + std::to_string(result.nRead) + " 件読み込みました。"_sj;
    if (result.nRecurring > 0)
        answer += "（繰り返しの予定 "_sj + std::to_string(result.nRecurring) + " 件は最初の１回だけ）"_sj;
    if (result.nRefused > 0) answer += std::to_string(result.nRefused) + " 件は登録しませんでした。"_sj;
    answer += details;
    if (nMore > 0) answer += std::string("\r\n") + "（ほか "_sj + std::to_string(nMore) + " 件）"_sj;
    return result;
}

ICalImportResult ImportICalendarFile(CCmdPro& cmdPro, const std::string& path, const std::string& nameText,
                                     std::string& answer) {
    struct stat st;
    std::string data, error;
    if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::size_t>(st.st_size) > kICalMaxFileBytes) {
        error = "ファイルが大きすぎます（"_sj + std::to_string(kICalMaxFileBytes >> 20) + " MB まで）。"_sj;
    } else if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        error = "フォルダーです。"_sj;
    } else if (!ReadWholeFile(path, data, error)) {
        error = "(" + Utf8ToCp932(error).text + ")";
    }
    if (!error.empty()) {
        ICalImportResult result;
        result.bFileRefused = true;
        answer = nameText + "を読めませんでした。"_sj + error;
        return result;
    }
    ICalImportResult result = ImportICalendar(cmdPro, data, answer);
    answer = nameText + "："_sj + answer;
    return result;
}
