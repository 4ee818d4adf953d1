#include "app/RecoveryCopy.h"

#include "notebook/NotebookSerialize.h"
#include "platform/Archive.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/PathNames.h"
#include "platform/SideFiles.h"
#include "platform/UserFolders.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nelo {

namespace {

constexpr const char* kExtension = ".nel";
constexpr const char* kMentionedFile = "mentioned";

std::string StemOf(const std::string& notebookPath) {
    if (notebookPath.empty()) return "無題";
    auto slash = notebookPath.rfind('/');
    std::string name = slash == std::string::npos ? notebookPath : notebookPath.substr(slash + 1);
    auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    // A copy's name is shown in a list, one name a line: no control characters in it.
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
    return name.empty() ? std::string("無題") : name;
}

/// The permissions of the notebook's file, which its copy takes: only those who may
/// read the notebook may read the copy. A notebook without a file is private.
mode_t CopyMode(const std::string& notebookPath) {
    struct stat st;
    if (notebookPath.empty() || stat(notebookPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0600;
    return st.st_mode & 0777;
}

/// The list of names kept in the "mentioned" file: one a line, with a backslash or a
/// line feed inside a name written as "\\" and "\n".
std::string EscapeName(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string UnescapeName(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            out += line[i] == 'n' ? '\n' : line[i];
        } else {
            out += line[i];
        }
    }
    return out;
}

std::string Stamp() {
    std::tm tm = LocalTime(CurrentClock().Now());
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d-%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

bool IsCopyName(const std::string& name) {
    const std::size_t n = std::char_traits<char>::length(kExtension);
    return name.size() > n && name.compare(name.size() - n, n, kExtension) == 0 && name[0] != '.';
}

}  // namespace

std::string RecoveryFolder() { return UserStateFolder(); }

bool WriteRecoveryCopy(Notebook& notebook, const std::string& notebookPath, std::string& path, std::string& error) {
    std::string bytes;
    try {
        bytes = SaveNotebookBytes(notebook);
    } catch (const ArchiveException& e) {
        error = e.what();
        return false;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
    const std::string folder = RecoveryFolder();
    const std::string stem = StemOf(notebookPath);
    const mode_t mode = CopyMode(notebookPath);
    const std::string stamp = Stamp();
    for (int n = 1; n < 1000; ++n) {
        // A long notebook name is cut so that the copy's name fits the file system.
        std::string suffix = "-" + stamp + (n == 1 ? std::string() : "-" + std::to_string(n)) + kExtension;
        std::string candidate = JoinPath(folder, FitFileName(folder, stem, suffix));
        AtomicFile file;
        file.SetNewNameOnly();
        file.SetNewFileMode(mode);
        file.SetFolderMode(0700);
        if (file.Open(candidate, error, true)) {
            file.Write(bytes.data(), bytes.size());
            // A copy whose folder could not be synced afterwards is there all the same,
            // and the program is ending: its path is what the user needs.
            if (file.Commit(error) || file.GetStamp().known) {
                path = candidate;
                return true;
            }
        }
        // Taken by another copy in the same second: the next name; anything else fails.
        struct stat st;
        if (lstat(candidate.c_str(), &st) != 0) return false;
    }
    error = "no free file name";
    return false;
}

std::vector<std::string> TakeUnmentionedRecoveryCopies() {
    const std::string folder = RecoveryFolder();
    std::vector<std::string> present;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir)) {
            std::string name = e->d_name;
            if (IsCopyName(name)) present.push_back(name);
        }
        closedir(dir);
    }
    std::sort(present.begin(), present.end());

    std::string text, error;
    std::vector<std::string> mentioned;
    if (ReadWholeFile(JoinPath(folder, kMentionedFile), text, error)) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            mentioned.push_back(UnescapeName(text.substr(start, end - start)));
            start = end + 1;
        }
    }
    std::vector<std::string> fresh;
    for (const std::string& name : present)
        if (std::find(mentioned.begin(), mentioned.end(), name) == mentioned.end())
            fresh.push_back(JoinPath(folder, name));
    if (!fresh.empty()) {
        // Only the copies still there are remembered, so the list never grows past them.
        std::string list;
        for (const std::string& name : present) list += EscapeName(name) + "\n";
        WriteFileAtomically(JoinPath(folder, kMentionedFile), list, error);
    }
    return fresh;
}

}  // namespace nelo
