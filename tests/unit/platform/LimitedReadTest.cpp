#include "platform/LimitedRead.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

// The limit holds for what is read: a regular file at the limit is read, one byte more
// is refused with its size, and a device without end is refused without a size.
TEST(LimitedReadTest, TheLimitIsWhatIsRead) {
    const fs::path dir = fs::temp_directory_path() / ("nelo-limited-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    struct Row {
        const char* name;
        std::string path;
        std::size_t bytes;  // written first (regular files)
        bool ok, tooLarge;
        std::uint64_t size;
    };
    const std::size_t kLimit = 100000;
    const Row rows[] = {
        {"empty", (dir / "empty").string(), 0, true, false, 0},
        {"at the limit", (dir / "at").string(), kLimit, true, false, 0},
        {"one byte over", (dir / "over").string(), kLimit + 1, false, true, kLimit + 1},
        {"endless device", "/dev/zero", 0, false, true, 0},
        {"missing", (dir / "missing").string(), 0, false, false, 0},
    };
    for (const Row& r : rows) {
        if (r.bytes > 0 || std::string(r.name) == "empty") std::ofstream(r.path) << std::string(r.bytes, 'x');
        std::string data = "old";
        LimitedReadResult result = ReadFileWithin(r.path, kLimit, data);
        EXPECT_EQ(result.ok, r.ok) << r.name;
        EXPECT_EQ(result.tooLarge, r.tooLarge) << r.name;
        EXPECT_EQ(result.size, r.size) << r.name;
        EXPECT_EQ(data.size(), r.ok ? r.bytes : 0u) << r.name;
        EXPECT_EQ(result.error.empty(), r.ok || r.tooLarge) << r.name;
    }
    fs::remove_all(dir);
}

TEST(LimitedReadTest, SizesInMegabytes) {
    const std::pair<std::uint64_t, const char*> rows[] = {{256u << 20, "256 MB"},
                                                          {(256u << 20) + 1, "256.1 MB"},
                                                          {300u << 20, "300 MB"},
                                                          {1, "0.1 MB"},
                                                          {(1u << 20) * 3 / 2, "1.5 MB"}};
    for (const auto& [n, text] : rows) EXPECT_EQ(MegabyteText(n), text) << n;
}

}  // namespace
