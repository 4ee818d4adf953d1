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
    void Add(const std::string& name, double value) { notebook.GetCalculator().AddVariable(Variable(name, value)); }
    void AddText(const std::string& name, const std::string& text) {
        notebook.GetCalculator().AddVariable(Variable::MakeText(name, text));
    }
    int RowOf(const VariableListModel& model, const std::string& text) const {
        const auto& rows = model.GetList().GetRows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i] == text) return static_cast<int>(i);
        return -1;
    }
    Notebook notebook;
};

TEST_F(VariableListModelTest, EmptyTableListsNothingAndAsksForASelection) {
    ScriptedMessageBox mb;
    VariableListModel model(&notebook.GetCalculator(), mb);
    model.FillRows();
    EXPECT_EQ(model.GetList().GetCount(), 0);
    model.OnDelete();
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, "削除する変数を選択してください。"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "");
    EXPECT_FALSE(notebook.GetCalculator().IsChanged());
}

TEST_F(VariableListModelTest, RowsFollowTheTableOrderInDisplayForm) {
    Add("半径"_sj, 5);
    Add("円周"_sj, 31.4);
    Add("r", -0.25);
    AddText("名前"_sj, "山田"_sj);
    ScriptedMessageBox mb;
    VariableListModel model(&notebook.GetCalculator(), mb);
    model.FillRows();
    std::vector<std::string> expected;
    notebook.GetCalculator().ForEachVariable(
        [&](const std::string&, const Variable& s) { expected.push_back(s.GetDisplayText()); });
    EXPECT_EQ(model.GetList().GetRows(), expected);
    EXPECT_NE(RowOf(model, "半径 5"_sj), -1);
    EXPECT_NE(RowOf(model, "円周 31.4"_sj), -1);
    EXPECT_NE(RowOf(model, "r -0.25"), -1);
    EXPECT_NE(RowOf(model, "名前 山田"_sj), -1);
}

TEST_F(VariableListModelTest, CancelKeepsTheVariable) {
    Add("半径"_sj, 5);
    ScriptedMessageBox mb{MbAnswer::Cancel};
    VariableListModel model(&notebook.GetCalculator(), mb);
    model.FillRows();
    model.GetList().SetCurSel(0);
    model.OnDelete();
    EXPECT_EQ(mb.GetShown().back().text, "選択されている変数を削除してよいですか？"_sj);
    EXPECT_EQ(mb.GetShown().back().caption, "削除確認"_sj);
    EXPECT_EQ(mb.GetShown().back().buttons, MbButtons::OkCancel);
    EXPECT_EQ(model.GetList().GetCount(), 1);
    EXPECT_NE(notebook.GetCalculator().FindVariable("半径"_sj), nullptr);
    EXPECT_FALSE(notebook.GetCalculator().IsChanged());
}

TEST_F(VariableListModelTest, DeletedVariableCanNoLongerBeUsed) {
    TextTranscript view;
    notebook.AddListener(&view);
    LineDispatcher send(notebook);
    send.ProcessLine("半径＝５"_sj);
    send.ProcessLine("円周＝３"_sj);
    notebook.GetCalculator().ClearChanged();
    notebook.SetModifiedFlag(false);

    ScriptedMessageBox mb{MbAnswer::Ok};
    RunVariablesCommand(notebook, mb, [&](VariableListModel& model) {
        model.GetList().SetCurSel(RowOf(model, "半径 5"_sj));
        model.OnDelete();
        EXPECT_EQ(model.GetList().GetRows(), std::vector<std::string>{"円周 3"_sj});
        EXPECT_EQ(model.GetList().GetCurSel(), -1);
    });
    EXPECT_TRUE(notebook.GetCalculator().IsChanged());
    EXPECT_TRUE(notebook.IsModified());

    send.ProcessLine("半径×２"_sj);
    const std::string& text = view.GetText();
    EXPECT_EQ(text.substr(text.size() - std::string("計算できません。\r\n"_sj).size()), "計算できません。\r\n"_sj);
    notebook.RemoveListener(&view);
}

TEST_F(VariableListModelTest, CommandLeavesAnUnchangedDocumentAlone) {
    Add("半径"_sj, 5);
    notebook.SetModifiedFlag(false);
    ScriptedMessageBox mb;
    RunVariablesCommand(notebook, mb, [](VariableListModel& model) { model.OnDelete(); });
    EXPECT_FALSE(notebook.IsModified());
}

}  // namespace
