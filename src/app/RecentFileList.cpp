#include "app/RecentFileList.h"

#include "platform/Profile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace nelo {

namespace {

std::string EntryName(std::size_t i) { return "File" + std::to_string(i + 1); }

// ".." after the folders a path named so far (out, "" for the root): the parent of
// what they name, which for a symbolic link is the parent of the folder it leads to.
// false, out unchanged, where the system refuses the path: a link leading nowhere,
// nothing there, or not a folder.
bool StepUp(std::string& out) {
    struct stat st;
    if (!out.empty() && lstat(out.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = realpath(out.c_str(), nullptr);
        if (!real) return false;
        out = real;
        std::free(real);
        if (out == "/") out.clear();
    } else if (!out.empty() && (lstat(out.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))) {
        return false;
    }
    out.erase(out.empty() ? 0 : out.rfind('/'));
    return true;
}

}  // namespace

void RecentFileList::ReadList() {
    m_entries.clear();
    for (std::size_t i = 0; i < kSize; ++i) {
        std::string v = m_profile.GetProfileString(kSection, EntryName(i));
        if (!v.empty() && std::find(m_entries.begin(), m_entries.end(), v) == m_entries.end())
            m_entries.push_back(std::move(v));
    }
}

bool RecentFileList::WriteList() const {
    // Each write rewrites the profile file: only the entries that changed.
    bool ok = true;
    for (std::size_t i = 0; i < kSize; ++i) {
        std::string value = i < m_entries.size() ? m_entries[i] : std::string();
        if (m_profile.GetProfileString(kSection, EntryName(i)) != value)
            ok = m_profile.WriteProfileString(kSection, EntryName(i), value) && ok;
    }
    return ok;
}

void RecentFileList::Add(const std::string& path) {
    Remove(path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kSize) m_entries.resize(kSize);
}

void RecentFileList::Remove(const std::string& path) {
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    std::string full = path;
    if (path[0] != '/') {
        std::error_code ec;
        std::string cwd = std::filesystem::current_path(ec).string();
        if (ec) return path;
        full = cwd + "/" + path;
    }
    // Component by component, as the system walks it.
    std::string out;
    std::size_t pos = 0;
    while (pos < full.size()) {
        std::size_t end = full.find('/', pos);
        if (end == std::string::npos) end = full.size();
        const std::string part = full.substr(pos, end - pos);
        const std::size_t next = end + 1;
        if (part == "..") {
            // The rest of a path the system refuses stays as written, for it to refuse.
            if (!StepUp(out)) return out + full.substr(pos - 1);
        } else if (!part.empty() && part != ".") {
            out += "/" + part;
        }
        pos = next;
    }
    return out.empty() ? "/" : out;
}

std::string WithNotebookExtension(const std::string& path) {
    auto slash = path.rfind('/');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    auto dot = path.rfind('.');
    // A leading dot starts a hidden name, not an extension.
    if (nameStart < path.size() && (dot == std::string::npos || dot <= nameStart)) return path + ".nel";
    return path;
}

}  // namespace nelo
