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
        notebook.RegisterMemo(answer, line);
        notebook.ClearMemoChanged();  // the tests look at the dialog's own changes
    }
    void Fill() {
        Register("田中、電話、03-1234"_sj);
        Register("田中、趣味、釣り"_sj);
        Register("ABC、x、1"_sj);
        Register("ABC、y、2"_sj);
    }
    std::vector<std::string> MapOrder() const {
        std::vector<std::string> keys;
        notebook.GetMemos().ForEach([&](const std::string& k, const Memo&) { keys.push_back(k); });
        return keys;
    }
    int RowOf(const MemoListModel& model, const std::string& object) const {
        const auto& rows = model.GetObjectList().GetRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == object) return static_cast<int>(i);
        return -1;
    }

    Notebook notebook;
};

TEST_F(MemoListModelTest, EmptyStoreListsNothingAndAsksForSelections) {
    ScriptedMessageBox mb;
    MemoListModel model(notebook, mb);
    model.FillRows();
    EXPECT_EQ(model.GetObjectList().GetCount(), 0);
    EXPECT_EQ(model.GetNameList().GetCount(), 0);
    EXPECT_EQ(model.GetObjectList().GetCurSel(), -1);
    model.OnDeleteObject();
    model.OnDeleteAttribute();
    ASSERT_EQ(mb.GetShown().size(), 2u);
    EXPECT_EQ(mb.GetShown()[0].text, "削除するオブジェクトを選択してください。"_sj);
    EXPECT_EQ(mb.GetShown()[1].text, "削除する属性を選択してください。"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "");
    EXPECT_EQ(mb.GetShown()[1].buttons, MbButtons::Ok);
    EXPECT_FALSE(notebook.IsMemoChanged());
}

TEST_F(MemoListModelTest, InitListsObjectsInStoreOrderAndShowsTheFirst) {
    Fill();
    ScriptedMessageBox mb;
    MemoListModel model(notebook, mb);
    model.FillRows();
    EXPECT_EQ(model.GetObjectList().GetRows(), MapOrder());
    EXPECT_EQ(model.GetObjectList().GetCurSel(), 0);
    const Memo* first = notebook.GetMemos().Lookup(MapOrder()[0]);
    EXPECT_EQ(model.GetNameList().GetRows(), first->GetNames());
    EXPECT_EQ(model.GetValueList().GetRows(), first->GetValues());
    EXPECT_EQ(model.GetNameList().GetCurSel(), -1);
}

TEST_F(MemoListModelTest, PairRowsSelectTogether) {
    Fill();
    ScriptedMessageBox mb;
    MemoListModel model(notebook, mb);
    model.FillRows();
    model.GetValueList().SetCurSel(1);
    model.OnSelChangeValues();
    EXPECT_EQ(model.GetNameList().GetCurSel(), 1);
    model.SelectPair(0);
    EXPECT_EQ(model.GetValueList().GetCurSel(), 0);
}

TEST_F(MemoListModelTest, DeletingTheLastPairKeepsTheRowUntilReopened) {
    Register("田中、電話、03-1234"_sj);
    Register("ABC、x、1"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok};
    MemoListModel model(notebook, mb);
    model.FillRows();
    int tanaka = RowOf(model, "田中"_sj);
    model.SelectObject(tanaka);
    model.SelectPair(0);
    model.OnDeleteAttribute();

    EXPECT_EQ(mb.GetShown().back().text, "選択されている属性を削除してよいですか？"_sj);
    EXPECT_EQ(mb.GetShown().back().caption, "削除確認"_sj);
    EXPECT_EQ(mb.GetShown().back().buttons, MbButtons::OkCancel);
    EXPECT_EQ(notebook.GetMemos().Lookup("田中"_sj), nullptr);
    EXPECT_EQ(model.GetObjectList().GetCount(), 2);
    EXPECT_EQ(model.GetNameList().GetCount(), 0);
    EXPECT_TRUE(notebook.IsMemoChanged());

    // Showing another object and choosing the stale row again changes nothing.
    model.SelectObject(RowOf(model, "ABC"));
    model.SelectObject(tanaka);
    EXPECT_EQ(model.GetNameList().GetRows(), std::vector<std::string>{"x"});
    // Nor can the stale row delete the pair still shown, which belongs to ABC.
    ScriptedMessageBox mb2{MbAnswer::Ok};
    MemoListModel dlg2(notebook, mb2);
    dlg2.FillRows();
    EXPECT_EQ(dlg2.GetObjectList().GetRows(), std::vector<std::string>{"ABC"});
}

TEST_F(MemoListModelTest, StaleRowNeverDeletesAnotherObjectsPair) {
    Register("田中、電話、03-1234"_sj);
    Register("ABC、x、1"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok, MbAnswer::Ok};
    MemoListModel model(notebook, mb);
    model.FillRows();
    model.SelectObject(RowOf(model, "田中"_sj));
    model.SelectPair(0);
    model.OnDeleteAttribute();
    model.SelectObject(RowOf(model, "ABC"));
    model.SelectObject(RowOf(model, "田中"_sj));  // memo gone: ABC's pair stays shown
    model.SelectPair(0);
    model.OnDeleteAttribute();
    ASSERT_NE(notebook.GetMemos().Lookup("ABC"), nullptr);
    EXPECT_EQ(notebook.GetMemos().Lookup("ABC")->GetPairCount(), 1u);
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
    MemoListModel model(notebook, mb);
    model.FillRows();
    model.OnSearch(row.search);
    int sel = model.GetObjectList().GetCurSel();
    if (row.selected.empty()) {
        EXPECT_EQ(sel, -1);
        EXPECT_EQ(model.GetNameList().GetCount(), 0);
        EXPECT_EQ(model.GetValueList().GetCount(), 0);
    } else {
        ASSERT_GE(sel, 0);
        EXPECT_EQ(model.GetObjectList().GetText(sel), row.selected);
        EXPECT_EQ(model.GetValueList().GetRows(), std::vector<std::string>{"値"_sj + row.selected});
    }
    EXPECT_TRUE(mb.GetShown().empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, MemoListModelSearchTest, ::testing::ValuesIn(kSearches), RowName());

TEST_F(MemoListModelTest, CaseOnlySearchDeletesFromTheShownObject) {
    Register("ABC、x、1"_sj);
    Register("abc、x、2"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok};
    MemoListModel model(notebook, mb);
    model.FillRows();
    model.OnSearch("aBc");
    const std::string shown = model.GetObjectList().GetText(model.GetObjectList().GetCurSel());
    const std::string other = shown == "ABC" ? "abc" : "ABC";
    model.SelectPair(0);
    model.OnDeleteAttribute();
    EXPECT_EQ(notebook.GetMemos().Lookup(shown), nullptr);
    EXPECT_NE(notebook.GetMemos().Lookup(other), nullptr);
}

TEST_F(MemoListModelTest, DeleteObjectAfterConfirmation) {
    Fill();
    ScriptedMessageBox mb{MbAnswer::Cancel, MbAnswer::Ok};
    MemoListModel model(notebook, mb);
    model.FillRows();
    model.SelectObject(RowOf(model, "ABC"));
    model.OnDeleteObject();  // cancelled
    EXPECT_NE(notebook.GetMemos().Lookup("ABC"), nullptr);
    EXPECT_EQ(model.GetObjectList().GetCount(), 2);
    EXPECT_FALSE(notebook.IsMemoChanged());

    model.OnDeleteObject();
    EXPECT_EQ(mb.GetShown().back().text, "選択されているオブジェクトを削除してよいですか？"_sj);
    EXPECT_EQ(mb.GetShown().back().caption, "削除確認"_sj);
    EXPECT_EQ(notebook.GetMemos().Lookup("ABC"), nullptr);
    EXPECT_EQ(model.GetObjectList().GetRows(), std::vector<std::string>{"田中"_sj});
    EXPECT_EQ(model.GetObjectList().GetCurSel(), -1);
    EXPECT_EQ(model.GetNameList().GetCount(), 0);
    EXPECT_TRUE(notebook.IsMemoChanged());
}

TEST_F(MemoListModelTest, CancelledAttributeDeletionKeepsThePair) {
    Fill();
    ScriptedMessageBox mb{MbAnswer::Cancel};
    MemoListModel model(notebook, mb);
    model.FillRows();
    model.SelectPair(0);
    std::size_t before = notebook.GetMemos().Lookup(model.GetObjectList().GetText(0))->GetPairCount();
    model.OnDeleteAttribute();
    EXPECT_EQ(notebook.GetMemos().Lookup(model.GetObjectList().GetText(0))->GetPairCount(), before);
    EXPECT_EQ(model.GetNameList().GetCount(), static_cast<int>(before));
    EXPECT_FALSE(notebook.IsMemoChanged());
}

TEST_F(MemoListModelTest, DeletesTheChosenPairOfARepeatedName) {
    Register("田中、電話、1"_sj);
    Register("田中、電話、2"_sj);
    Register("田中、電話、3"_sj);
    ScriptedMessageBox mb{MbAnswer::Ok};
    MemoListModel model(notebook, mb);
    model.FillRows();
    model.SelectPair(1);
    model.OnDeleteAttribute();
    EXPECT_EQ(notebook.GetMemos().Lookup("田中"_sj)->GetValues(), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(model.GetValueList().GetRows(), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(model.GetNameList().GetCurSel(), -1);
}

TEST_F(MemoListModelTest, CommandMarksTheDocumentOnlyAfterAChange) {
    Fill();
    notebook.SetModifiedFlag(false);
    ScriptedMessageBox mb{MbAnswer::Ok};
    RunMemoListCommand(notebook, mb, [](MemoListModel&) {});
    EXPECT_FALSE(notebook.IsModified());
    RunMemoListCommand(notebook, mb, [](MemoListModel& model) { model.OnDeleteObject(); });
    EXPECT_TRUE(notebook.IsModified());
    EXPECT_EQ(notebook.GetMemos().GetCount(), 1u);
}

TEST_F(MemoListModelTest, ExportWritesEveryPair) {
    Fill();
    TempFolder folder;
    ScriptedMessageBox mb;
    MemoListModel model(notebook, mb);
    const std::string path = folder.File("out.csv");
    model.SetExportTarget(path);
    model.FillRows();
    model.OnExport();
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 4u);
    EXPECT_EQ(mb.GetShown().back().text, path + "を作成しました"_sj);
}

}  // namespace
