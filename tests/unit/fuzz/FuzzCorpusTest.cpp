// Every fuzz target over its committed corpus, in every test build, so that a plain or a
// sanitizer build checks what the fuzzers found too (the libFuzzer programs need clang).
#include "fuzz/ArchiveFuzzBody.h"
#include "fuzz/CodePageFuzzBody.h"
#include "fuzz/DatePhraseFuzzBody.h"
#include "fuzz/ICalFuzzBody.h"
#include "fuzz/ProcessLineFuzzBody.h"
#include "fuzz/TextFileFuzzBody.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <vector>

using namespace nelo;

namespace {

struct FuzzTargetRow {
    const char* name;
    void (*run)(const std::uint8_t*, std::size_t);
};

void PrintTo(const FuzzTargetRow& row, std::ostream* os) { *os << row.name; }

class FuzzCorpusTest : public testing::TestWithParam<FuzzTargetRow> {};

TEST_P(FuzzCorpusTest, EveryEntryReplaysCleanly) {
    const FuzzTargetRow& target = GetParam();
    std::vector<std::filesystem::path> files;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(NELO_SOURCE_DIR) + "/tests/fuzz/corpus/" + target.name))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    SetCurrentClock(nullptr);
    EXPECT_GE(files.size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FuzzCorpusTest,
    testing::Values(FuzzTargetRow{"archive", FuzzArchiveOnce}, FuzzTargetRow{"process_line", FuzzProcessLineOnce},
                    FuzzTargetRow{"date_phrase", FuzzDatePhraseOnce}, FuzzTargetRow{"text_file", FuzzTextFileOnce},
                    FuzzTargetRow{"codepage", FuzzCodePageOnce}, FuzzTargetRow{"ical", FuzzICalOnce}),
    [](const testing::TestParamInfo<FuzzTargetRow>& row) { return std::string(row.param.name); });

}  // namespace
