#include "models/VariableListModel.h"
#include "conversation/LineDispatcher.h"
#include "notebook/Notebook.h"
#include "text/Sjis.h"
#include "transcript/TranscriptView.h"
#include "ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace nelo;

namespace {

class VariableListModelTest : public ::testing::Test {
protected:
    void Add(const std::string& name, double value) { doc.GetCalculator().AddVariable(Variable(name, value)); }
    void AddText(const std::string& name, const std::string& text) {
        doc.GetCalculator().AddVariable(Variable::MakeText(name, text));
    }
    int RowOf(const VariableListModel& dlg, const std::string& text) const {
        const auto& rows = dlg.GetList().GetRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == text) return static_cast<int>(i);
        return -1;
    }
    Notebook doc;
};

TEST_F(VariableListModelTest, EmptyTableListsNothingAndAsksForASelection) {
    ScriptedMessageBox mb;
    VariableListModel dlg(&doc.GetCalculator(), mb);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.GetList().GetCount(), 0);
    dlg.OnDelete();
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, "削除する変数を選択してください。"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "");
    EXPECT_FALSE(doc.GetCalculator().IsChanged());
}

TEST_F(VariableListModelTest, RowsFollowTheTableOrderInDisplayForm) {
    Add("半径"_sj, 5);
    Add("円周"_sj, 31.4);
    Add("r", -0.25);
    AddText("名前"_sj, "山田"_sj);
    ScriptedMessageBox mb;
    VariableListModel dlg(&doc.GetCalculator(), mb);
    dlg.OnInitDialog();
    std::vector<std::string> expected;
    doc.GetCalculator().ForEachVariable(
        [&](const std::string&, const Variable& s) { expected.push_back(s.GetDisplayText()); });
    EXPECT_EQ(dlg.GetList().GetRows(), expected);
    EXPECT_NE(RowOf(dlg, "半径 5"_sj), -1);
    EXPECT_NE(RowOf(dlg, "円周 31.4"_sj), -1);
    EXPECT_NE(RowOf(dlg, "r -0.25"), -1);
    EXPECT_NE(RowOf(dlg, "名前 山田"_sj), -1);
}

TEST_F(VariableListModelTest, CancelKeepsTheVariable) {
    Add("半径"_sj, 5);
    ScriptedMessageBox mb{MbAnswer::Cancel};
    VariableListModel dlg(&doc.GetCalculator(), mb);
    dlg.OnInitDialog();
    dlg.GetList().SetCurSel(0);
    dlg.OnDelete();
    EXPECT_EQ(mb.GetShown().back().text, "選択されている変数を削除してよいですか？"_sj);
    EXPECT_EQ(mb.GetShown().back().caption, "削除確認"_sj);
    EXPECT_EQ(mb.GetShown().back().buttons, MbButtons::OkCancel);
    EXPECT_EQ(dlg.GetList().GetCount(), 1);
    EXPECT_NE(doc.GetCalculator().FindVariable("半径"_sj), nullptr);
    EXPECT_FALSE(doc.GetCalculator().IsChanged());
}

TEST_F(VariableListModelTest, DeletedVariableCanNoLongerBeUsed) {
    TextTranscript view;
    doc.AddListener(&view);
    LineDispatcher send(doc);
    send.ProcessLine("半径＝５"_sj);
    send.ProcessLine("円周＝３"_sj);
    doc.GetCalculator().ClearChanged();
    doc.SetModifiedFlag(false);

    ScriptedMessageBox mb{MbAnswer::Ok};
    RunVariablesCommand(doc, mb, [&](VariableListModel& dlg) {
        dlg.GetList().SetCurSel(RowOf(dlg, "半径 5"_sj));
        dlg.OnDelete();
        EXPECT_EQ(dlg.GetList().GetRows(), std::vector<std::string>{"円周 3"_sj});
        EXPECT_EQ(dlg.GetList().GetCurSel(), -1);
    });
    EXPECT_TRUE(doc.GetCalculator().IsChanged());
    EXPECT_TRUE(doc.IsModified());

    send.ProcessLine("半径×２"_sj);
    const std::string& text = view.GetText();
    EXPECT_EQ(text.substr(text.size() - std::string("計算できません。\r\n"_sj).size()), "計算できません。\r\n"_sj);
    doc.RemoveListener(&view);
}

TEST_F(VariableListModelTest, CommandLeavesAnUnchangedDocumentAlone) {
    Add("半径"_sj, 5);
    doc.SetModifiedFlag(false);
    ScriptedMessageBox mb;
    RunVariablesCommand(doc, mb, [](VariableListModel& dlg) { dlg.OnDelete(); });
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
