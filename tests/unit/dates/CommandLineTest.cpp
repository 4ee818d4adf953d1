#include "dates/CommandLine.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace nelo;

// A line the notebook hands on (double-byte characters and blanks) is split in one walk;
// any other byte sends it the general way. Both must give the same words.
TEST(CommandLine, WordsOfEveryKindOfLine) {
    const struct {
        std::string text;
        bool isCommand;
        std::vector<std::string> words;
    } rows[] = {
        {"曜日　２００３／６／１"_sj, true, {"曜日"_sj, "２００３／６／１"_sj}},
        {"　　予定 来週\t再来週　"_sj, true, {"予定"_sj, "来週"_sj, "再来週"_sj}},
        // A trail byte that is a blank splits the line where the general way splits it.
        {"明日 "_sj + std::string("\x81\x20") + "会議"_sj, true, {"明日"_sj, "\x81", "会議"_sj}},
        {"ｶｲｷﾞ 10時"_sj, true, {"カイギ"_sj, "１０時"_sj}},
        {"会議"_sj + std::string("\x81"), true, {"会議"_sj + std::string("\x81")}},
        {"abc 会議"_sj, true, {"ａｂｃ"_sj, "会議"_sj}},
        {"", false, {}},
        {"　"_sj, false, {}},
    };
    for (const auto& r : rows) {
        CommandLine line;
        EXPECT_EQ(line.Read(r.text), r.isCommand) << r.text;
        const std::vector<std::string> words(line.GetWords().begin(), line.GetWords().end());
        EXPECT_EQ(words, r.words) << r.text;
    }
}
