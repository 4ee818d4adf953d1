#include "cli/CliPath.h"

#include "platform/UserFolders.h"

#include <cctype>
#include <cstdlib>
#include <sys/stat.h>

using namespace nelo;

namespace {

std::string ExpandVariable(const std::string& path) {
    struct stat st;
    if (path.size() < 2 || path[0] != '$' || stat(path.c_str(), &st) == 0) return path;
    std::size_t begin = 1, end;
    if (path[1] == '{') {
        begin = 2;
        end = path.find('}', begin);
        if (end == std::string::npos) return path;
    } else {
        end = begin;
        while (end < path.size() && (std::isalnum(static_cast<unsigned char>(path[end])) || path[end] == '_')) ++end;
    }
    const char* value = std::getenv(path.substr(begin, end - begin).c_str());
    if (!value) return path;
    return value + path.substr(path[1] == '{' ? end + 1 : end);
}

}  // namespace

std::string Unquote(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return text;
}

std::string PathArgument(const std::string& argText) {
    auto b = argText.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return ExpandHomeFolder(ExpandVariable(Unquote(argText.substr(b))));
}
