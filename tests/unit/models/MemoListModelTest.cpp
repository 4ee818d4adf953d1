#include "notebook/Notebook.h"
#include "models/MemoListModel.h"
#include "text/Sjis.h"
#include "ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace nelo;

namespace {

class MemoListModelTest : public ::testing::Test {
protected:
    void Register(const std::string& line) {
        std::string answer;
        doc.RegisterMemo(answer, line);
        doc.ClearMemoChanged();  // the tests look at the dialog's own changes
    }
    void Fill() {
        Register("田中、電話、03-1234"_sj);
        Register("田中、趣味、釣り"_sj);
        Register("ABC、x、1"_sj);
        Register("ABC、y、2"_sj);
    }
    std::vector<std::string> MapOrder() const {
        std::vector<std::string> keys;
        doc.GetMemos().ForEach([&](const std::string& k, const Memo&) { keys.push_back(k); });
        return keys;
    }
    int RowOf(const MemoListModel& dlg, const std::string& object) const {
        const auto& rows = dlg.GetObjectList().GetRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == object) return static_cast<int>(i);
        return -1;
    }

    Notebook doc;
};

TEST_F(MemoListModelTest, EmptyStoreListsNothingAndAsksForSelections) {
    ScriptedMessageBox mb;
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.GetObjectList().GetCount(), 0);
    EXPECT_EQ(dlg.GetNameList().GetCount(), 0);
    EXPECT_EQ(dlg.GetObjectList().GetCurSel(), -1);
    dlg.OnDeleteObject();
    dlg.OnDeleteAttribute();
    ASSERT_EQ(mb.GetShown().size(), 2u);
    EXPECT_EQ(mb.GetShown()[0].text, "削除するオブジェクトを選択してください。"_sj);
    EXPECT_EQ(mb.GetShown()[1].text, "削除する属性を選択してください。"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "");
    EXPECT_EQ(mb.GetShown()[1].buttons, MbButtons::Ok);
    EXPECT_FALSE(doc.IsMemoChanged());
}

TEST_F(MemoListModelTest, InitListsObjectsInStoreOrderAndShowsTheFirst) {
    Fill();
    ScriptedMessageBox mb;
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.GetObjectList().GetRows(), MapOrder());
    EXPECT_EQ(dlg.GetObjectList().GetCurSel(), 0);
    const Memo* first = doc.GetMemos().Lookup(MapOrder()[0]);
    EXPECT_EQ(dlg.GetNameList().GetRows(), first->GetNames());
    EXPECT_EQ(dlg.GetValueList().GetRows(), first->GetValues());
    EXPECT_EQ(dlg.GetNameList().GetCurSel(), -1);
}

TEST_F(MemoListModelTest, PairRowsSelectTogether) {
    Fill();
    ScriptedMessageBox mb;
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    dlg.GetValueList().SetCurSel(1);
    dlg.OnSelChangeValues();
    EXPECT_EQ(dlg.GetNameList().GetCurSel(), 1);
    dlg.SelectPair(0);
    EXPECT_EQ(dlg.GetValueList().GetCurSel(), 0);
}

TEST_F(MemoListModelTest, DeletingTheLastPairKeepsTheRowUntilReopened) {
    Register("田中、電話、03-1234"_sj);
    Register("ABC、x、1"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok};
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    int tanaka = RowOf(dlg, "田中"_sj);
    dlg.SelectObject(tanaka);
    dlg.SelectPair(0);
    dlg.OnDeleteAttribute();

    EXPECT_EQ(mb.GetShown().back().text, "選択されている属性を削除してよいですか？"_sj);
    EXPECT_EQ(mb.GetShown().back().caption, "削除確認"_sj);
    EXPECT_EQ(mb.GetShown().back().buttons, MbButtons::OkCancel);
    EXPECT_EQ(doc.GetMemos().Lookup("田中"_sj), nullptr);
    EXPECT_EQ(dlg.GetObjectList().GetCount(), 2);
    EXPECT_EQ(dlg.GetNameList().GetCount(), 0);
    EXPECT_TRUE(doc.IsMemoChanged());

    // Showing another object and choosing the stale row again changes nothing.
    dlg.SelectObject(RowOf(dlg, "ABC"));
    dlg.SelectObject(tanaka);
    EXPECT_EQ(dlg.GetNameList().GetRows(), std::vector<std::string>{"x"});
    // Nor can the stale row delete the pair still shown, which belongs to ABC.
    ScriptedMessageBox mb2{MbAnswer::Ok};
    MemoListModel dlg2(doc, mb2);
    dlg2.OnInitDialog();
    EXPECT_EQ(dlg2.GetObjectList().GetRows(), std::vector<std::string>{"ABC"});
}

TEST_F(MemoListModelTest, StaleRowNeverDeletesAnotherObjectsPair) {
    Register("田中、電話、03-1234"_sj);
    Register("ABC、x、1"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok, MbAnswer::Ok};
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    dlg.SelectObject(RowOf(dlg, "田中"_sj));
    dlg.SelectPair(0);
    dlg.OnDeleteAttribute();
    dlg.SelectObject(RowOf(dlg, "ABC"));
    dlg.SelectObject(RowOf(dlg, "田中"_sj));  // memo gone: ABC's pair stays shown
    dlg.SelectPair(0);
    dlg.OnDeleteAttribute();
    ASSERT_NE(doc.GetMemos().Lookup("ABC"), nullptr);
    EXPECT_EQ(doc.GetMemos().Lookup("ABC")->GetPairCount(), 1u);
}

struct SearchRow {
    const char* name;
    std::initializer_list<const char*> objects;  // registered in this order, each with one pair
    std::string search;
    std::string selected;  // "" when no row is selected
};

void PrintTo(const SearchRow& row, std::ostream* os) { *os << row.name; }

const SearchRow kSearches[] = {
    {"exact", {"田中"_sj, "ABC"}, "田中"_sj, "田中"_sj},
    {"case only, ascii", {"田中"_sj, "ABC"}, "abc", "ABC"},
    {"case only, full width", {"田中"_sj, "ＡＢＣ"_sj}, "ａｂｃ"_sj, "ＡＢＣ"_sj},
    {"exact name after a case-only row", {"a", "A"}, "A", "A"},
    {"exact name before a case-only row", {"A", "a"}, "A", "A"},
    {"exact lower case among two", {"A", "a"}, "a", "a"},
    {"exact full width among two", {"ａ"_sj, "Ａ"_sj}, "Ａ"_sj, "Ａ"_sj},
    {"width differs", {"田中"_sj, "ABC"}, "ＡＢＣ"_sj, ""},
    {"absent", {"田中"_sj, "ABC"}, "佐藤"_sj, ""},
    {"empty text", {"田中"_sj}, "", ""},
    {"prefix is no match", {"田中"_sj}, "田"_sj, ""},
};

class MemoListModelSearchTest : public MemoListModelTest, public ::testing::WithParamInterface<SearchRow> {};

TEST_P(MemoListModelSearchTest, SelectsTheRowAndShowsItsPairs) {
    const SearchRow& row = GetParam();
    for (const std::string o : row.objects) Register(o + "、名、値"_sj + o);
    ScriptedMessageBox mb;
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    dlg.OnSearch(row.search);
    int sel = dlg.GetObjectList().GetCurSel();
    if (row.selected.empty()) {
        EXPECT_EQ(sel, -1);
        EXPECT_EQ(dlg.GetNameList().GetCount(), 0);
        EXPECT_EQ(dlg.GetValueList().GetCount(), 0);
    } else {
        ASSERT_GE(sel, 0);
        EXPECT_EQ(dlg.GetObjectList().GetText(sel), row.selected);
        EXPECT_EQ(dlg.GetValueList().GetRows(), std::vector<std::string>{"値"_sj + row.selected});
    }
    EXPECT_TRUE(mb.GetShown().empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, MemoListModelSearchTest, ::testing::ValuesIn(kSearches), RowName());

TEST_F(MemoListModelTest, CaseOnlySearchDeletesFromTheShownObject) {
    Register("ABC、x、1"_sj);
    Register("abc、x、2"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok};
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    dlg.OnSearch("aBc");
    const std::string shown = dlg.GetObjectList().GetText(dlg.GetObjectList().GetCurSel());
    const std::string other = shown == "ABC" ? "abc" : "ABC";
    dlg.SelectPair(0);
    dlg.OnDeleteAttribute();
    EXPECT_EQ(doc.GetMemos().Lookup(shown), nullptr);
    EXPECT_NE(doc.GetMemos().Lookup(other), nullptr);
}

TEST_F(MemoListModelTest, DeleteObjectAfterConfirmation) {
    Fill();
    ScriptedMessageBox mb{MbAnswer::Cancel, MbAnswer::Ok};
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    dlg.SelectObject(RowOf(dlg, "ABC"));
    dlg.OnDeleteObject();  // cancelled
    EXPECT_NE(doc.GetMemos().Lookup("ABC"), nullptr);
    EXPECT_EQ(dlg.GetObjectList().GetCount(), 2);
    EXPECT_FALSE(doc.IsMemoChanged());

    dlg.OnDeleteObject();
    EXPECT_EQ(mb.GetShown().back().text, "選択されているオブジェクトを削除してよいですか？"_sj);
    EXPECT_EQ(mb.GetShown().back().caption, "削除確認"_sj);
    EXPECT_EQ(doc.GetMemos().Lookup("ABC"), nullptr);
    EXPECT_EQ(dlg.GetObjectList().GetRows(), std::vector<std::string>{"田中"_sj});
    EXPECT_EQ(dlg.GetObjectList().GetCurSel(), -1);
    EXPECT_EQ(dlg.GetNameList().GetCount(), 0);
    EXPECT_TRUE(doc.IsMemoChanged());
}

TEST_F(MemoListModelTest, CancelledAttributeDeletionKeepsThePair) {
    Fill();
    ScriptedMessageBox mb{MbAnswer::Cancel};
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    dlg.SelectPair(0);
    std::size_t before = doc.GetMemos().Lookup(dlg.GetObjectList().GetText(0))->GetPairCount();
    dlg.OnDeleteAttribute();
    EXPECT_EQ(doc.GetMemos().Lookup(dlg.GetObjectList().GetText(0))->GetPairCount(), before);
    EXPECT_EQ(dlg.GetNameList().GetCount(), static_cast<int>(before));
    EXPECT_FALSE(doc.IsMemoChanged());
}

TEST_F(MemoListModelTest, DeletesTheChosenPairOfARepeatedName) {
    Register("田中、電話、1"_sj);
    Register("田中、電話、2"_sj);
    Register("田中、電話、3"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok};
    MemoListModel dlg(doc, mb);
    dlg.OnInitDialog();
    dlg.SelectPair(1);
    dlg.OnDeleteAttribute();
    EXPECT_EQ(doc.GetMemos().Lookup("田中"_sj)->GetValues(), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(dlg.GetValueList().GetRows(), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(dlg.GetNameList().GetCurSel(), -1);
}

TEST_F(MemoListModelTest, CommandMarksTheDocumentOnlyAfterAChange) {
    Fill();
    doc.SetModifiedFlag(false);
    ScriptedMessageBox mb{MbAnswer::Ok};
    RunMemoListCommand(doc, mb, [](MemoListModel&) {});
    EXPECT_FALSE(doc.IsModified());
    RunMemoListCommand(doc, mb, [](MemoListModel& dlg) { dlg.OnDeleteObject(); });
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetMemos().GetCount(), 1u);
}

TEST_F(MemoListModelTest, ExportWritesEveryPair) {
    Fill();
    TempFolder folder;
    ScriptedMessageBox mb;
    MemoListModel dlg(doc, mb);
    const std::string path = folder.File("out.csv");
    dlg.SetExportTarget(path);
    dlg.OnInitDialog();
    dlg.OnExport();
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 4u);
    EXPECT_EQ(mb.GetShown().back().text, path + "を作成しました"_sj);
}

}  // namespace
