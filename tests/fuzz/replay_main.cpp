// Replays files (or every file of the folders, in name order) given as arguments through
// a fuzz target's LLVMFuzzerTestOneInput, for builds without libFuzzer (g++ with the
// sanitizers). Linked with one <target>_fuzz.cpp.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int files = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            std::vector<std::filesystem::path> entries;
            for (const auto& e : std::filesystem::directory_iterator(p))
                if (e.is_regular_file()) entries.push_back(e.path());
            std::sort(entries.begin(), entries.end());
            for (const auto& e : entries) {
                ok = Replay(e) && ok;
                ++files;
            }
        } else {
            ok = Replay(p) && ok;
            ++files;
        }
    }
    std::printf("replayed %d files\n", files);
    return ok && files > 0 ? 0 : 1;
}
