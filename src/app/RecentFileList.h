// The recent-file list: the four files opened or saved last, newest first, kept in the
// profile as "File1".."File4" of "Recent File List" (absolute paths in UTF-8), and the
// forms of a notebook's path that every front end uses.
#pragma once

#include <string>
#include <vector>

namespace nelo {

class Profile;

class RecentFileList {
public:
    static constexpr const char* kSection = "Recent File List";
    static constexpr std::size_t kSize = 4;

    explicit RecentFileList(Profile& profile) : m_profile(profile) {}

    /// Reads the entries from the profile (missing and empty values are skipped).
    void ReadList();
    /// Writes the entries to the profile; false when the profile could not be written.
    bool WriteList() const;
    /// Puts path at the front, dropping an equal entry and the oldest beyond four.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    const std::vector<std::string>& GetEntries() const { return m_entries; }

private:
    Profile& m_profile;
    std::vector<std::string> m_entries;
};

/// An absolute form of a path (relative to the working folder) that names what the
/// system opens for it: "." and empty parts dropped, and ".." taken as the system takes
/// it (after a symbolic link, the parent of the folder the link names), never by text.
std::string AbsolutePath(const std::string& path);

/// The path with ".nel" appended when its file name has no extension, as the save
/// dialog's default extension does.
std::string WithNotebookExtension(const std::string& path);

}  // namespace nelo
