#include "models/RowList.h"
#include "text/Sjis.h"

#include "ScriptedMessageBox.h"

#include <gtest/gtest.h>

using namespace nelo;

namespace {

struct CaseRow {
    const char* name;
    std::string a, b;
    bool equal;
};

void PrintTo(const CaseRow& row, std::ostream* os) { *os << row.name; }

const CaseRow kCases[] = {
    {"same", "abc", "abc", true},
    {"ascii case", "Tanaka", "tANAKA", true},
    {"full-width case", "ＡＢＣ"_sj, "ａｂｃ"_sj, true},
    {"greek case", "Α"_sj, "α"_sj, true},
    {"cyrillic case", "ДЯ"_sj, "дя"_sj, true},
    {"width differs", "ABC", "ＡＢＣ"_sj, false},
    {"kana unchanged", "ア"_sj, "あ"_sj, false},
    {"prefix", "ab", "abc", false},
    {"trail byte 'a' is not folded", "\x81\x61", "\x81\x41", false},
};

class RowListCaseTest : public ::testing::TestWithParam<CaseRow> {};

TEST_P(RowListCaseTest, ComparesIgnoringLetterCase) {
    EXPECT_EQ(EqualsIgnoringCase(GetParam().a, GetParam().b), GetParam().equal);
}

INSTANTIATE_TEST_SUITE_P(Rows, RowListCaseTest, ::testing::ValuesIn(kCases), RowName());

TEST(RowListTest, FindStringExactStartsAfterTheGivenRow) {
    RowList list;
    list.AddString("abc");
    list.AddString("ABC");
    list.AddString("x");
    EXPECT_EQ(list.FindStringExact(-1, "Abc"), 0);
    EXPECT_EQ(list.FindStringExact(0, "Abc"), 1);
    EXPECT_EQ(list.FindStringExact(1, "Abc"), 0);  // wraps round
    EXPECT_EQ(list.FindStringExact(-1, "y"), -1);
    EXPECT_EQ(RowList().FindStringExact(-1, ""), -1);
}

TEST(RowListTest, DeletingRowsMovesOrDropsTheSelection) {
    RowList list;
    for (const char* s : {"a", "b", "c", "d"}) list.AddString(s);
    list.SetCurSel(2);
    EXPECT_EQ(list.DeleteString(0), 3);
    EXPECT_EQ(list.GetCurSel(), 1);  // "c" moved up
    EXPECT_EQ(list.DeleteString(2), 2);
    EXPECT_EQ(list.GetCurSel(), 1);
    list.DeleteString(1);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.DeleteString(5), -1);
    list.SetCurSel(7);
    EXPECT_EQ(list.GetCurSel(), -1);
}

}  // namespace
