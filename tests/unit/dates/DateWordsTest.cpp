#include "dates/DateWords.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <string>

// The word search must find exactly what a plain character-boundary search finds: the
// set of kanji may only ever spare searches that would fail.
TEST(CWordSearch, FindsWhatTheCharacterSearchFinds) {
    const char* texts[] = {
        "２００３／６／１"_sj,
        "来週月曜日"_sj,
        "平成１５年６月１日"_sj,
        "午後３時　明日"_sj,
        "",
        "\x97",  // a lone lead byte
        "a/b:c",
        "ｱｲｳ"_sj,
        "\x81\x5E\x97\x88",  // 「／」 then 「来」
        "１日曜日"_sj,       // 「日曜日」 starts on the second character
    };
    const char* words[] = {
        "来週"_sj, "曜日"_sj, "日曜日"_sj, "月曜日"_sj, "平成"_sj, "午後"_sj, "明日"_sj,
        "今日"_sj, "／"_sj,   "/",         ":",         "来"_sj,   "年"_sj,   "ｲ"_sj,
    };
    for (const char* t : texts) {
        const std::string text = t;
        const CWordSearch search(text);
        for (const char* w : words) EXPECT_EQ(search.Find(w), FindWord(text, w)) << t << " / " << w;
    }
}

TEST(CWordSearch, BlankedWordsAndSetsOfFirstCharacters) {
    std::string text = "来週月曜日　１０時"_sj;
    const CWordSearch search(text);
    EXPECT_EQ(search.Find("来週"_sj), 0u);
    text.replace(0, 4, 4, ' ');  // the keyword stage blanks what it has read
    EXPECT_EQ(search.Find("来週"_sj), std::string::npos);
    EXPECT_EQ(search.Find("月曜日"_sj), 4u);

    const auto eras = CWordSearch::FirstCharsOf({"平成"_sj, "昭和"_sj, "令和"_sj});
    const auto days = CWordSearch::FirstCharsOf({"今日"_sj, "明日"_sj});
    const auto marks = CWordSearch::FirstCharsOf({"／"_sj});
    EXPECT_FALSE(search.MayHoldAny(eras));
    EXPECT_FALSE(search.MayHoldAny(days));
    EXPECT_TRUE(search.MayHoldAny(marks));  // a word starting with no kanji: always searched
    const std::string digits = "２００３／６／１"_sj;
    EXPECT_FALSE(CWordSearch(digits).MayHoldAny(days));
    const std::string era = "令和元年"_sj;
    EXPECT_TRUE(CWordSearch(era).MayHoldAny(eras));
}
