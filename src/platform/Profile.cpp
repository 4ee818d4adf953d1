#include "platform/Profile.h"

#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace nelo {

namespace {

std::string Escape(const std::string& v) {
    std::string out;
    for (char c : v) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string Unescape(const std::string& v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            char n = v[++i];
            out.push_back(n == 'n' ? '\n' : n == 'r' ? '\r' : n);
        } else {
            out.push_back(v[i]);
        }
    }
    return out;
}

}  // namespace

std::string Profile::DefaultPath() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        base = HomeFolder() + "/.config";
    }
    return base + "/Vantor/Nelo.conf";
}

Profile::Profile() : Profile(DefaultPath()) {}

Profile::Profile(std::string path) : m_path(std::move(path)) { Load(); }

void Profile::Load() {
    std::ifstream in(m_path, std::ios::binary);
    if (!in) return;
    std::string line;
    Section* cur = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[' && line.back() == ']') {
            m_sections.push_back({line.substr(1, line.size() - 2), {}});
            cur = &m_sections.back();
            continue;
        }
        auto eq = line.find('=');
        if (!cur || eq == std::string::npos) continue;
        cur->values.emplace_back(line.substr(0, eq), Unescape(line.substr(eq + 1)));
    }
}

void Profile::TellFailure(const std::string& reason) {
    if (m_failureTold || !m_failureNotice) return;
    m_failureTold = true;
    m_failureNotice(m_path, reason);
}

void Profile::CheckWritable() {
    std::string error;
    if (ExamineWriteTarget(m_path, error) == WriteTarget::Refused) TellFailure(error);
}

bool Profile::Save() {
    std::ostringstream out;
    for (const Section& s : m_sections) {
        out << '[' << s.name << "]\n";
        for (const auto& v : s.values) out << v.first << '=' << Escape(v.second) << '\n';
        out << '\n';
    }
    std::string error;
    if (WriteFileAtomically(m_path, out.str(), error, true)) return true;
    TellFailure(error);
    return false;
}

const std::string* Profile::Find(const std::string& section, const std::string& entry) const {
    for (const Section& s : m_sections) {
        if (s.name != section) continue;
        for (const auto& v : s.values)
            if (v.first == entry) return &v.second;
    }
    return nullptr;
}

std::string Profile::GetProfileString(const std::string& section, const std::string& entry,
                                      const std::string& def) const {
    const std::string* v = Find(section, entry);
    return v ? *v : def;
}

int Profile::GetProfileInt(const std::string& section, const std::string& entry, int def) const {
    const std::string* v = Find(section, entry);
    if (!v || v->empty()) return def;
    char* end = nullptr;
    long n = std::strtol(v->c_str(), &end, 10);
    return end == v->c_str() ? def : static_cast<int>(n);
}

bool Profile::WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) {
    Section* sec = nullptr;
    for (Section& s : m_sections)
        if (s.name == section) sec = &s;
    if (!sec) {
        m_sections.push_back({section, {}});
        sec = &m_sections.back();
    }
    bool found = false;
    for (auto& v : sec->values)
        if (v.first == entry) {
            v.second = value;
            found = true;
        }
    if (!found) sec->values.emplace_back(entry, value);
    return Save();
}

bool Profile::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    return WriteProfileString(section, entry, std::to_string(value));
}

}  // namespace nelo
