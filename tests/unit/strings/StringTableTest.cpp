// The string table is the only place that spells the fixed answers: a second copy of
// the words elsewhere in the program would drift from the table unnoticed.
#include "strings/StringTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace nelo;

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The entries' words as the table's source writes them (UTF-8).
std::vector<std::string> TableTexts() {
    const std::string table = ReadAll(fs::path(NELO_SOURCE_DIR) / "src/strings/StringTable.cpp");
    static const std::regex kEntry(R"re(case \w+: return "([^"]+)"_sj;)re");
    std::vector<std::string> texts;
    for (std::sregex_iterator it(table.begin(), table.end(), kEntry), end; it != end; ++it)
        texts.push_back((*it)[1].str());
    return texts;
}

TEST(StringTable, EntriesAreDistinctAndLoadable) {
    const std::vector<std::string> texts = TableTexts();
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), texts.size());
    EXPECT_STREQ(LoadStringId(0), "");
}

TEST(StringTable, NoOtherSourceSpellsAnEntry) {
    const std::vector<std::string> texts = TableTexts();
    const fs::path src = fs::path(NELO_SOURCE_DIR) / "src";
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const fs::path& path = entry.path();
        if (path.parent_path().filename() == "strings") continue;
        if (path.extension() != ".cpp" && path.extension() != ".h") continue;
        const std::string source = ReadAll(path);
        // The words as a whole literal, or as the head line of a longer answer.
        for (const std::string& text : texts)
            for (const std::string& literal : {'"' + text + "\"_sj", '"' + text + "\\r\\n\"_sj"})
                EXPECT_EQ(source.find(literal), std::string::npos)
                    << fs::relative(path, src).string() << " spells " << literal << "; load it from the table";
    }
}

}  // namespace
