#include "platform/FileAttributes.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/xattr.h>
#include <vector>

namespace nelo {

namespace {

/// The names of path's attributes (NUL-separated), or an errno.
int ListAttributes(const char* path, std::vector<char>& names) {
    for (;;) {
        ssize_t n = listxattr(path, nullptr, 0);
        if (n < 0) return errno;
        names.resize(static_cast<std::size_t>(n));
        if (n == 0) return 0;
        n = listxattr(path, names.data(), names.size());
        if (n >= 0) {
            names.resize(static_cast<std::size_t>(n));
            return 0;
        }
        if (errno != ERANGE) return errno;  // ERANGE: the list grew meanwhile
    }
}

/// The value of attribute name of path, or an errno.
int ReadAttribute(const char* path, const char* name, std::vector<char>& value) {
    for (;;) {
        ssize_t n = getxattr(path, name, nullptr, 0);
        if (n < 0) return errno;
        value.resize(static_cast<std::size_t>(n));
        if (n == 0) return 0;
        n = getxattr(path, name, value.data(), value.size());
        if (n >= 0) {
            value.resize(static_cast<std::size_t>(n));
            return 0;
        }
        if (errno != ERANGE) return errno;
    }
}

/// The user's own attributes and the access control lists must arrive; the rest
/// (security labels the system sets by itself, attributes only a privileged process
/// may set, a file system's own entries) is copied where the system lets it.
bool MustArrive(const char* name) {
    return std::strncmp(name, "user.", 5) == 0 || std::strncmp(name, "system.posix_acl_", 17) == 0;
}

}  // namespace

int CopyExtendedAttributes(const char* from, int to) {
    std::vector<char> names;
    if (int e = ListAttributes(from, names)) return e == ENOTSUP ? 0 : e;
    std::vector<char> value;
    for (std::size_t i = 0; i < names.size(); i += std::strlen(names.data() + i) + 1) {
        const char* name = names.data() + i;
        if (int e = ReadAttribute(from, name, value)) {
            if (e == ENODATA) continue;  // removed meanwhile
            return e;
        }
        if (fsetxattr(to, name, value.data(), value.size(), 0) == 0) continue;
        if (MustArrive(name)) return errno;
    }
    return 0;
}

}  // namespace nelo
