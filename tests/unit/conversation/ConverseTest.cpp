#include "notebook/Notebook.h"
#include "text/Sjis.h"

#include <gtest/gtest.h>

using namespace nelo;

namespace {

struct ConverseRow {
    const char* text;
    const char* answer;
};

const ConverseRow kAnswers[] = {
    {"だめ"_sj, "わかりません。"_sj},     {"改行"_sj, "わかりません。"_sj},
    {"ばか"_sj, "わかりません。"_sj},     {"デモ開始"_sj, "わかりました。"_sj},
    {"デモ終了"_sj, "わかりました。"_sj}, {"このソフトのバージョンを教えて"_sj, "バージョン１．００です。"_sj},
    {"天気"_sj, "わかりません。"_sj},     {"例え"_sj, "わかりません。"_sj},
};

TEST(Converse, FixedWords) {
    Notebook notebook;
    notebook.SetShowsNames(true);
    for (const ConverseRow& row : kAnswers) {
        std::string answer;
        notebook.Converse(answer, row.text);
        EXPECT_EQ(answer, row.answer) << testing::PrintToString(std::string(row.text));
    }
}

TEST(Converse, FallbackIsEmptyWithoutPrefix) {
    Notebook notebook;
    std::string answer;
    notebook.Converse(answer, "天気"_sj);
    EXPECT_EQ(answer, "");
    notebook.Converse(answer, "改行"_sj);  // the line-break word does not turn the prefix on
    EXPECT_FALSE(notebook.ShowsNames());
    notebook.Converse(answer, "中止"_sj);
    EXPECT_TRUE(notebook.ShowsNames());
}

TEST(Converse, ExamplePagesLineCountsAndEndings) {
    struct Page {
        const char* keyword;
        int lines;
        bool endsWithBreak;
    } pages[] = {{"例"_sj, 9, false},     {"計算例"_sj, 12, false}, {"変換例"_sj, 7, false}, {"日付例"_sj, 15, false},
                 {"関数例"_sj, 5, false}, {"予定例"_sj, 19, true},  {"メモ例"_sj, 5, true}};
    Notebook notebook;
    for (const Page& p : pages) {
        std::string answer;
        notebook.Converse(answer, p.keyword);
        int breaks = 0;
        for (std::size_t i = 0; (i = answer.find("\r\n", i)) != std::string::npos; i += 2) ++breaks;
        EXPECT_EQ(breaks, p.endsWithBreak ? p.lines : p.lines - 1) << testing::PrintToString(std::string(p.keyword));
        EXPECT_EQ(answer.size() >= 2 && answer.substr(answer.size() - 2) == "\r\n", p.endsWithBreak);
    }
}

}  // namespace
