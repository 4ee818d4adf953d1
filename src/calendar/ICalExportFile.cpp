// Where an export may write: a new file, or an existing regular file the user agrees
// to replace; never a device, a pipe or a folder, and never a notebook, whose schedules
// and memos a calendar would replace.
#include "calendar/ICalendar.h"

#include "calendar/ICalSource.h"
#include "notebook/NotebookSerialize.h"
#include "notebook/Notebook.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "schedule/ScheduleBook.h"
#include "text/Sjis.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <strings.h>
#include <sys/stat.h>

namespace nelo {

namespace {

// A file larger than this is not read to see whether it is a notebook; it is kept.
constexpr std::size_t kMaxCheckedBytes = 256u << 20;

enum class Holding { Other, Notebook, Unknown };

// Whether the regular file at path holds a notebook: by its extension, or because it
// loads as one.
Holding WhatFileHolds(const std::string& path, const struct stat& st) {
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && path.find('/', dot) == std::string::npos &&
        strcasecmp(path.c_str() + dot, ".nel") == 0)
        return Holding::Notebook;
    if (static_cast<unsigned long long>(st.st_size) > kMaxCheckedBytes) return Holding::Unknown;
    std::string bytes, error;
    if (!ReadICalFile(path, kMaxCheckedBytes, bytes, error)) return Holding::Unknown;
    if (bytes.empty()) return Holding::Other;
    try {
        Notebook notebook;
        LoadNotebookBytes(notebook, bytes);
        return Holding::Notebook;
    } catch (const std::exception&) {
        return Holding::Other;
    }
}

}  // namespace

bool ExportICalendarFile(const ScheduleBook& scheduleBook, const std::string& path, const std::string& nameText,
                         MessageBox& messageBox, ICalOverwrite overwrite, std::string& answer) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            answer = nameText + "はフォルダーです。予定は書き出しませんでした。"_sj;
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            answer = nameText + "は通常のファイルではない（装置やパイプ）ため、予定は書き出しませんでした。"_sj;
            return false;
        }
        switch (WhatFileHolds(path, st)) {
        case Holding::Notebook:
            answer =
                nameText + "はノートのファイルです。予定で置き換えるとノートが失われるため、書き出しませんでした。"_sj;
            return false;
        case Holding::Unknown:
            answer = nameText + "は中身を確かめられないため、予定で置き換えませんでした。"_sj;
            return false;
        case Holding::Other: break;
        }
        switch (overwrite) {
        case ICalOverwrite::Refuse:
            answer = nameText + "ファイルがあります。入力が端末ではなく確認できないため、上書きしませんでした"_sj +
                     "（上書きするには --force を付けます）。"_sj;
            return false;
        case ICalOverwrite::Ask:
            if (messageBox.Show(nameText + "ファイルがあります。上書きしますか?"_sj, std::string(), MbButtons::YesNo,
                                MbIcon::Exclamation) != MbAnswer::Yes) {
                answer = "予定の書き出しを取りやめました。"_sj;
                return false;
            }
            break;
        case ICalOverwrite::Force: break;
        }
    }

    ICalExportNotes notes;
    const std::string text = FormatICalendar(scheduleBook, CurrentClock().Now(), SystemZoneName(), &notes);
    std::string error;
    if (!WriteFileAtomically(path, text, error)) {
        answer = nameText + "を書き出せませんでした。"_sj + "(" + Utf8ToCp932(error).text + ")";
        return false;
    }
    answer = nameText + "に予定を "_sj + std::to_string(scheduleBook.GetSchedules().size()) + " 件書き出しました。"_sj;
    if (notes.control > 0) answer += "（制御文字 "_sj + std::to_string(notes.control) + " 個は空白にしました）"_sj;
    return true;
}

}  // namespace nelo
