#include "calendar/ICalReport.h"

#include "text/Sjis.h"

namespace nelo {

namespace {

// The report names at most this many events; the conflict answer of a typed line shows
// as many entries.
constexpr std::size_t kMaxEventLines = 50;

void AppendCount(std::string& list, int n, const char* what) {
    if (n <= 0) return;
    if (!list.empty()) list += "、"_sj;
    list += what + (" " + std::to_string(n)) + " 件"_sj;
}

}  // namespace

std::string FormatICalImportReport(const ICalImportReport& r) {
    std::string out = "予定を "_sj + std::to_string(r.nRead) + " 件読み込みました。"_sj;
    if (r.nRefused > 0) out += std::to_string(r.nRefused) + " 件は登録できませんでした（理由は下に）。"_sj;
    if (r.bShiftJis) out += "（シフトJIS（コードページ932）のファイルとして読みました）"_sj;
    if (r.nRepeating > 0)
        out += std::string("\r\n") + "繰り返しの予定 "_sj + std::to_string(r.nRepeating) +
               " 件から、今日から１年先までの "_sj + std::to_string(r.nRepeatedEntries) + " 件を登録しました。"_sj;
    if (r.nConflicting > 0)
        out += std::string("\r\n") + "既にある予定と時刻が重なるもの "_sj + std::to_string(r.nConflicting) +
               " 件も登録しました。"_sj;

    std::string skipped;
    AppendCount(skipped, r.nAlready, "登録済みの予定"_sj);
    AppendCount(skipped, r.nCancelled, "取り消された予定"_sj);
    AppendCount(skipped, r.nCancelledInstances, "取り消された回"_sj);
    if (!skipped.empty()) out += std::string("\r\n") + "読み込まなかった予定: "_sj + skipped;
    std::string unused;
    AppendCount(unused, r.nTodos, "ToDo（VTODO）"_sj);
    AppendCount(unused, r.nJournals, "日誌（VJOURNAL）"_sj);
    AppendCount(unused, r.nAlarms, "アラーム（VALARM）"_sj);
    AppendCount(unused, r.nDescriptions, "説明（DESCRIPTION）"_sj);
    AppendCount(unused, r.nOthers, "その他の要素"_sj);
    if (!unused.empty()) out += std::string("\r\n") + "予定にできないため読み込まなかったもの: "_sj + unused;

    std::size_t nShown = 0;
    for (const ICalEventNote& note : r.notes) {
        if (nShown == kMaxEventLines) break;
        out += "\r\n" + std::to_string(note.nIndex) + " 件目（"_sj + std::to_string(note.nLine) + " 行目）"_sj +
               note.strQuoted + ": " + note.strText;
        ++nShown;
    }
    if (r.notes.size() > nShown)
        out += std::string("\r\n") + "（ほか "_sj + std::to_string(r.notes.size() - nShown) + " 件）"_sj;
    return out;
}

}  // namespace nelo
