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
    std::string out = "予定を "_sj + std::to_string(r.bytesRead) + " 件読み込みました。"_sj;
    if (r.refusedCount > 0) out += std::to_string(r.refusedCount) + " 件は登録できませんでした（理由は下に）。"_sj;
    if (r.isShiftJis) out += "（シフトJIS（コードページ932）のファイルとして読みました）"_sj;
    if (r.repeatingCount > 0)
        out += std::string("\r\n") + "繰り返しの予定 "_sj + std::to_string(r.repeatingCount) +
               " 件から、今日から１年先までの "_sj + std::to_string(r.repeatedEntries) + " 件を登録しました。"_sj;
    if (r.conflictingCount > 0)
        out += std::string("\r\n") + "既にある予定と時刻が重なるもの "_sj + std::to_string(r.conflictingCount) +
               " 件も登録しました。"_sj;

    std::string skipped;
    AppendCount(skipped, r.alreadyCount, "登録済みの予定"_sj);
    AppendCount(skipped, r.cancelledCount, "取り消された予定"_sj);
    AppendCount(skipped, r.cancelledInstances, "取り消された回"_sj);
    if (!skipped.empty()) out += std::string("\r\n") + "読み込まなかった予定: "_sj + skipped;
    std::string unused;
    AppendCount(unused, r.todos, "ToDo（VTODO）"_sj);
    AppendCount(unused, r.journals, "日誌（VJOURNAL）"_sj);
    AppendCount(unused, r.alarms, "アラーム（VALARM）"_sj);
    AppendCount(unused, r.descriptions, "説明（DESCRIPTION）"_sj);
    AppendCount(unused, r.others, "その他の要素"_sj);
    if (!unused.empty()) out += std::string("\r\n") + "予定にできないため読み込まなかったもの: "_sj + unused;

    std::size_t shownCount = 0;
    for (const ICalEventNote& note : r.notes) {
        if (shownCount == kMaxEventLines) break;
        out += "\r\n" + std::to_string(note.index) + " 件目（"_sj + std::to_string(note.lineNumber) + " 行目）"_sj +
               note.quoted + ": " + note.text;
        ++shownCount;
    }
    if (r.notes.size() > shownCount)
        out += std::string("\r\n") + "（ほか "_sj + std::to_string(r.notes.size() - shownCount) + " 件）"_sj;
    return out;
}

}  // namespace nelo
