#include "app/RecentFileList.h"

#include "platform/Profile.h"

#include <algorithm>
#include <filesystem>

namespace {

std::string EntryName(std::size_t i) { return "File" + std::to_string(i + 1); }

}  // namespace

void CRecentFileList::ReadList() {
    m_entries.clear();
    for (std::size_t i = 0; i < kSize; ++i) {
        std::string v = m_profile.GetProfileString(kSection, EntryName(i));
        if (!v.empty() && std::find(m_entries.begin(), m_entries.end(), v) == m_entries.end())
            m_entries.push_back(std::move(v));
    }
}

bool CRecentFileList::WriteList() const {
    // Each write rewrites the profile file: only the entries that changed.
    bool ok = true;
    for (std::size_t i = 0; i < kSize; ++i) {
        std::string value = i < m_entries.size() ? m_entries[i] : std::string();
        if (m_profile.GetProfileString(kSection, EntryName(i)) != value)
            ok = m_profile.WriteProfileString(kSection, EntryName(i), value) && ok;
    }
    return ok;
}

void CRecentFileList::Add(const std::string& path) {
    Remove(path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kSize) m_entries.resize(kSize);
}

void CRecentFileList::Remove(const std::string& path) {
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(path), ec);
    if (ec) return path;
    return p.lexically_normal().string();
}

std::string WithNotebookExtension(const std::string& path) {
    auto slash = path.rfind('/');
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    auto dot = path.rfind('.');
    // A leading dot starts a hidden name, not an extension.
    if (nameStart < path.size() && (dot == std::string::npos || dot <= nameStart)) return path + ".nel";
    return path;
}
