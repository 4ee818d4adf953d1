#include "cli/CliAgenda.h"

#include "app/RecentFileList.h"
#include "cli/CliSession.h"
#include "notebook/NotebookSerialize.h"
#include "notebook/Notebook.h"
#include "platform/Archive.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "reminders/EntryTimes.h"
#include "schedule/ScheduleEntry.h"

#include <cstdio>
#include <new>

using namespace nelo;

namespace {

constexpr int kMaxDays = 9999;

struct AgendaArguments {
    int days = 1;
    bool asJson = false;
    std::string file;
};

bool IsHelpOrVersion(const std::string& a) { return a == "-h" || a == "--help" || a == "--version"; }

bool AllDigits(const std::string& a) {
    if (a.empty()) return false;
    for (char c : a)
        if (c < '0' || c > '9') return false;
    return true;
}

/// Reads the arguments; false (with the message said) for wrong ones.
bool ParseArguments(const std::vector<std::string>& args, AgendaArguments& out) {
    bool optionsAllowed = true, daysPossible = false, daysGiven = false;
    for (const std::string& a : args) {
        if (optionsAllowed && a == "--agenda") {
            daysPossible = true;
            continue;
        }
        if (optionsAllowed && a == "--json") {
            out.asJson = true;
        } else if (optionsAllowed && a == "--") {
            optionsAllowed = false;
        } else if (optionsAllowed && a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "nelo-cli: --agenda と一緒には使えないオプションです: %s\n%s", a.c_str(),
                         CliSession::kUsage);
            return false;
        } else if (daysPossible && !daysGiven && out.file.empty() && optionsAllowed && AllDigits(a)) {
            if (a.size() > 4 || std::stoi(a) > kMaxDays) {
                std::fprintf(stderr, "nelo-cli: 日数は 0 から %d までで指定してください: %s\n", kMaxDays, a.c_str());
                return false;
            }
            out.days = std::stoi(a);
            daysGiven = true;
        } else if (out.file.empty()) {
            out.file = a;
        } else {
            std::fprintf(stderr, "nelo-cli: ファイルは一つだけ指定できます。\n%s", CliSession::kUsage);
            return false;
        }
        daysPossible = false;
    }
    return true;
}

std::string Utf8(const std::string& cp932) { return Cp932ToUtf8(cp932).text; }

/// Control characters become visible (^[ for ESC), so that a notebook's text cannot
/// drive the terminal it is printed on.
std::string Visible(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            out += '^';
            out += static_cast<char>(u ^ 0x40);
        } else {
            out += c;
        }
    }
    return out;
}

/// A JSON string of UTF-8 text.
std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

/// A local time in ISO 8601: "2026-12-08" for a day, "2026-12-08T10:00:00+09:00" for a time.
std::string IsoTime(std::time_t t, bool isDay) {
    const std::tm tm = LocalTime(t);
    char buf[64];
    if (isDay) {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    } else {
        const long offset = tm.tm_gmtoff / 60;
        const long a = offset < 0 ? -offset : offset;
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", tm.tm_year + 1900, tm.tm_mon + 1,
                      tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, offset < 0 ? '-' : '+', a / 60, a % 60);
    }
    return buf;
}

std::string JsonEntry(const ScheduleEntry& entry) {
    const bool allDay = !HasTimeOfDay(entry.GetStartText());
    std::string end = "null";
    if (!entry.GetEndText().empty()) end = JsonString(IsoTime(entry.GetEndTime(), !HasTimeOfDay(entry.GetEndText())));
    return "{\"start\": " + JsonString(IsoTime(entry.GetStartTime(), allDay)) + ", \"end\": " + end +
           ", \"text\": " + JsonString(Utf8(entry.GetBusiness())) + ", \"all_day\": " + (allDay ? "true" : "false") +
           "}";
}

/// The notebook to read: the one named, else the most recent one; false (said) when
/// there is none.
bool ChooseFile(const std::string& named, std::string& path) {
    if (!named.empty()) {
        path = named;
        return true;
    }
    // The list is read, never written: a file that is gone stays on it for the programs
    // that open notebooks to deal with.
    Profile profile;
    RecentFileList recent(profile);
    recent.ReadList();
    if (recent.GetEntries().empty()) {
        std::fprintf(stderr, "nelo-cli: 最近使ったノートがありません。ノートのファイルを指定してください。\n");
        return false;
    }
    path = recent.GetEntries().front();
    return true;
}

/// Reads the notebook file into notebook; false (said) when it does not load.
bool Load(const std::string& path, Notebook& notebook) {
    std::string bytes, error;
    if (!ReadWholeFile(AbsolutePath(path), bytes, error)) {
        std::fprintf(stderr, "nelo-cli: %s を開けませんでした。(%s)\n", path.c_str(), error.c_str());
        return false;
    }
    try {
        LoadNotebookBytes(notebook, bytes);
    } catch (const ArchiveException&) {
        std::fprintf(stderr, "nelo-cli: %s: %s\n", path.c_str(), Utf8(Archive::FormatErrorText()).c_str());
        return false;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "nelo-cli: %s を読み込むためのメモリが足りません。\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool IsAgendaRequest(const std::vector<std::string>& args) {
    bool agenda = false;
    for (const std::string& a : args) {
        if (a == "--") break;
        if (IsHelpOrVersion(a)) return false;
        if (a == "--agenda") agenda = true;
    }
    return agenda;
}

int RunAgenda(const std::vector<std::string>& args) {
    AgendaArguments parsed;
    if (!ParseArguments(args, parsed)) return 2;
    std::string clockMessage;
    if (!CheckFrozenClockSetting(clockMessage)) {
        std::fprintf(stderr, "nelo-cli: %s\n", clockMessage.c_str());
        return 2;
    }
    std::string path;
    Notebook notebook;
    if (!ChooseFile(parsed.file, path) || !Load(path, notebook)) return 1;

    const std::vector<const ScheduleEntry*> entries =
        AgendaEntries(notebook.GetScheduleBook().GetSchedules(), CurrentClock().Now(), parsed.days);
    std::string out;
    if (parsed.asJson) {
        out = "[";
        for (std::size_t i = 0; i < entries.size(); ++i) out += (i ? ",\n  " : "\n  ") + JsonEntry(*entries[i]);
        out += entries.empty() ? "]\n" : "\n]\n";
    } else if (entries.empty()) {
        out = "予定はありません。\n";
    } else {
        const std::string year = CurrentYearText();
        std::string line;
        for (const ScheduleEntry* entry : entries) {
            entry->Format(line, year);
            out += Visible(Utf8(line)) + "\n";
        }
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}
