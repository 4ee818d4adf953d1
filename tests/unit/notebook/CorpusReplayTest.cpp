// The loader fuzz target over its seed corpus, in every test build (a sanitizer build
// checks it for memory errors too).
#include "fuzz/ArchiveFuzzBody.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace nelo;

TEST(ArchiveCorpus, EverySeedReplaysCleanly) {
    int files = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(NELO_SOURCE_DIR) + "/tests/fuzz/corpus/archive")) {
        std::ifstream in(e.path(), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        FuzzArchiveOnce(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        // The .nel seeds are real notebooks: each of them loads (what the fuzzer found
        // may be refused).
        if (e.path().extension() == ".nel") {
            Notebook notebook;
            EXPECT_NO_THROW(LoadNotebookBytes(notebook, std::string(bytes.begin(), bytes.end()))) << e.path();
            ++files;
        }
    }
    SetCurrentClock(nullptr);
    EXPECT_GE(files, 7);
}
