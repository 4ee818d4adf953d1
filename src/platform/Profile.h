// The user profile: one INI file, ${XDG_CONFIG_HOME:-$HOME/.config}/Vantor/Nelo.conf,
// holding the sections and values the program keeps between runs ("Recent File List",
// "SendViewFont", "Window size" ...). A missing value reads as its default; every write
// replaces the file atomically (temporary file, then rename).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace nelo {

class Profile {
public:
    /// The profile at the standard place for company "Vantor", application "Nelo".
    Profile();
    /// A profile kept in the given file (tests, and front ends that know better).
    explicit Profile(std::string path);

    const std::string& GetPath() const { return m_path; }

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def = std::string()) const;
    int GetProfileInt(const std::string& section, const std::string& entry, int def) const;
    /// Stores the value and writes the file; false when the file could not be written.
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value);

    /// The default file: ${XDG_CONFIG_HOME:-$HOME/.config}/Vantor/Nelo.conf.
    static std::string DefaultPath();

    /// Told (with the file's path and the reason, UTF-8) the first time the profile
    /// cannot be written, and only then: the settings of this run will not be kept.
    using FailureNotice = std::function<void(const std::string& path, const std::string& reason)>;
    void SetFailureNotice(FailureNotice notice) { m_failureNotice = std::move(notice); }
    /// Tells the failure notice at once when the file can never be written where it is
    /// (a folder has taken its name, or its folder is a file).
    void CheckWritable();

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
    };

    void Load();
    bool Save();
    void TellFailure(const std::string& reason);
    const std::string* Find(const std::string& section, const std::string& entry) const;

    std::string m_path;
    std::vector<Section> m_sections;
    FailureNotice m_failureNotice;
    bool m_failureTold = false;
};

}  // namespace nelo
