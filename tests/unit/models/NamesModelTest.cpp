#include "models/NamesModel.h"
#include "conversation/LineDispatcher.h"
#include "notebook/Notebook.h"
#include "text/Sjis.h"
#include "transcript/TranscriptView.h"

#include "ScriptedMessageBox.h"

#include <gtest/gtest.h>

using namespace nelo;

namespace {

struct SettingsRow {
    const char* name;
    std::function<void(NamesModel&)> interact;
    std::string user, responder;  // the names afterwards
    bool changed;
};

void PrintTo(const SettingsRow& row, std::ostream* os) { *os << row.name; }

const SettingsRow kSettings[] = {
    {"ok without change", [](NamesModel& d) { d.OnOkButton(); }, "花子"_sj, "太郎"_sj, false},
    {"new user name",
     [](NamesModel& d) {
         d.SetUserName("一郎"_sj);
         d.OnOkButton();
     },
     "一郎"_sj, "太郎"_sj, true},
    {"new responder name",
     [](NamesModel& d) {
         d.SetResponderName("次郎"_sj);
         d.OnOkButton();
     },
     "花子"_sj, "次郎"_sj, true},
    {"empty name accepted",
     [](NamesModel& d) {
         d.SetUserName("");
         d.OnOkButton();
     },
     "", "太郎"_sj, true},
    {"cancel after editing both",
     [](NamesModel& d) {
         d.SetUserName("一郎"_sj);
         d.SetResponderName("次郎"_sj);
         d.OnCancel();
     },
     "花子"_sj, "太郎"_sj, false},
    {"enter key does not accept",
     [](NamesModel& d) {
         d.SetUserName("一郎"_sj);
         d.OnOK();
         EXPECT_TRUE(d.IsOpen());
     },
     "花子"_sj, "太郎"_sj, false},
    {"same bytes retyped",
     [](NamesModel& d) {
         d.SetUserName(std::string("花子"_sj));
         d.OnOkButton();
     },
     "花子"_sj, "太郎"_sj, false},
};

class NamesModelTest : public ::testing::TestWithParam<SettingsRow> {};

TEST_P(NamesModelTest, StoresChangedNamesAndMarksTheNotebook) {
    const SettingsRow& row = GetParam();
    Notebook notebook;
    notebook.SetModifiedFlag(false);
    EXPECT_EQ(OnSettings(notebook, row.interact), row.changed);
    EXPECT_EQ(notebook.GetUserName(), row.user);
    EXPECT_EQ(notebook.GetResponderName(), row.responder);
    EXPECT_EQ(notebook.GetCalculator().IsChanged(), row.changed);
    EXPECT_EQ(notebook.IsModified(), row.changed);
}

INSTANTIATE_TEST_SUITE_P(Rows, NamesModelTest, ::testing::ValuesIn(kSettings), RowName());

TEST(NamesModelFieldsTest, DialogStartsWithTheDocumentsNames) {
    Notebook notebook;
    notebook.SetNames(notebook.GetResponderName(), "一郎"_sj);
    OnSettings(notebook, [](NamesModel& d) {
        EXPECT_EQ(d.GetUserName(), "一郎"_sj);
        EXPECT_EQ(d.GetResponderName(), "太郎"_sj);
    });
}

TEST(NamesModelFieldsTest, EmptyUserNameEchoesWithABarePrompt) {
    Notebook notebook;
    TextTranscript view;
    notebook.AddListener(&view);
    OnSettings(notebook, [](NamesModel& d) {
        d.SetUserName("");
        d.OnOkButton();
    });
    LineDispatcher(notebook).ProcessLine("田中は"_sj);
    EXPECT_EQ(view.GetText().substr(0, 4), " >> ");
    EXPECT_TRUE(notebook.IsModified());  // still modified after the answered line
    notebook.RemoveListener(&view);
}

}  // namespace
