#include "app/RecoveryCopy.h"

#include "document/DocSerialize.h"
#include "platform/Archive.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/UserFolders.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kExtension = ".nel";
constexpr const char* kMentionedFile = "mentioned";

/// A file that only ever takes a name nobody uses: the finished temporary file gets
/// its name by a hard link, which fails when the name exists.
class CNewNameFile : public CAtomicFile {
protected:
    int SysRename(const char* from, const char* to) override {
        if (link(from, to) == 0) {
            unlink(from);
            return 0;
        }
        if (errno == EEXIST) return -1;
        // A file system without hard links: the name was free a moment ago.
        struct stat st;
        if (lstat(to, &st) == 0) {
            errno = EEXIST;
            return -1;
        }
        return rename(from, to);
    }
};

std::string StemOf(const std::string& docPath) {
    if (docPath.empty()) return "無題";
    auto slash = docPath.rfind('/');
    std::string name = slash == std::string::npos ? docPath : docPath.substr(slash + 1);
    auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name.empty() ? std::string("無題") : name;
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

bool WriteRecoveryCopy(CRumoDoc& doc, const std::string& docPath, std::string& path, std::string& error) {
    std::string bytes;
    try {
        bytes = SaveDocumentBytes(doc);
    } catch (const CArchiveException& e) {
        error = e.what();
        return false;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
    const std::string base = RecoveryFolder() + "/" + StemOf(docPath) + "-" + Stamp();
    for (int n = 1; n < 1000; ++n) {
        std::string candidate = base + (n == 1 ? std::string() : "-" + std::to_string(n)) + kExtension;
        CNewNameFile file;
        if (!file.Open(candidate, error, true)) return false;
        file.Write(bytes.data(), bytes.size());
        if (file.Commit(error)) {
            path = candidate;
            return true;
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
    if (ReadWholeFile(folder + "/" + kMentionedFile, text, error)) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            mentioned.push_back(text.substr(start, end - start));
            start = end + 1;
        }
    }
    std::vector<std::string> fresh;
    for (const std::string& name : present)
        if (std::find(mentioned.begin(), mentioned.end(), name) == mentioned.end())
            fresh.push_back(folder + "/" + name);
    if (!fresh.empty()) {
        // Only the copies still there are remembered, so the list never grows past them.
        std::string list;
        for (const std::string& name : present) list += name + "\n";
        WriteFileAtomically(folder + "/" + kMentionedFile, list, error);
    }
    return fresh;
}
