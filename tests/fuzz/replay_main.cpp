// Replays files (or every file of the folders) given as arguments through the loader
// fuzz target, for builds without libFuzzer (g++ with the sanitizers).
#include "ArchiveFuzzBody.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

bool Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FuzzArchiveOnce(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int files = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::directory_iterator(p))
                if (e.is_regular_file()) {
                    ok = Replay(e.path()) && ok;
                    ++files;
                }
        } else {
            ok = Replay(p) && ok;
            ++files;
        }
    }
    std::printf("replayed %d files\n", files);
    return ok ? 0 : 1;
}
