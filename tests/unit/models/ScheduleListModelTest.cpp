#include "notebook/Notebook.h"
#include "platform/Clock.h"
#include "models/ScheduleListModel.h"
#include "text/Sjis.h"
#include "ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace nelo;

namespace {

class ScheduleListModelTest : public ::testing::Test {
protected:
    ScheduleListModelTest() : clock(MakeLocalTime(2003, 6, 1, 10, 0, 0)) { SetCurrentClock(&clock); }
    ~ScheduleListModelTest() override { SetCurrentClock(nullptr); }

    void Add(std::int32_t startTime, const std::string& start, const std::string& business) {
        notebook.GetScheduleBook().AddSchedule(
            std::make_unique<ScheduleEntry>(startTime, startTime, start, "", business));
    }
    std::vector<std::string> Businesses() const {
        std::vector<std::string> out;
        for (const auto& p : notebook.GetScheduleBook().GetSchedules()) out.push_back(p->GetBusiness());
        return out;
    }

    FixedClock clock;
    Notebook notebook;
};

TEST_F(ScheduleListModelTest, EmptyListAsksForASelection) {
    ScriptedMessageBox mb;
    RunSchedListCommand(notebook, mb, [](ScheduleListModel& model) {
        EXPECT_EQ(model.GetList().GetCount(), 0);
        model.OnDelete();
    });
    ASSERT_EQ(mb.GetShown().size(), 1u);
    EXPECT_EQ(mb.GetShown()[0].text, "削除する予定を選択してください。"_sj);
    EXPECT_EQ(mb.GetShown()[0].caption, "");
    EXPECT_FALSE(notebook.IsModified());
}

TEST_F(ScheduleListModelTest, CommandSortsAndShowsTheYearOnlyForOtherYears) {
    Add(2000, "2003/06/05(木) 10:00"_sj, "会議"_sj);
    Add(1000, "2004/01/05(月)"_sj, "旅行"_sj);
    Add(500, "2003/06/02(月)"_sj, "歯医者"_sj);
    ScriptedMessageBox mb;
    RunSchedListCommand(notebook, mb, [](ScheduleListModel& model) {
        EXPECT_EQ(
            model.GetList().GetRows(),
            (std::vector<std::string>{"06/02(月)　歯医者"_sj, "2004/01/05(月)　旅行"_sj, "06/05(木) 10:00　会議"_sj}));
        EXPECT_EQ(model.GetList().GetTopIndex(), 0);
    });
    EXPECT_EQ(Businesses(), (std::vector<std::string>{"歯医者"_sj, "旅行"_sj, "会議"_sj}));
}

TEST_F(ScheduleListModelTest, DeletesTheSelectedEntryAfterConfirmation) {
    Add(100, "2003/06/02(月)"_sj, "a");
    Add(200, "2003/06/03(火)"_sj, "b");
    Add(300, "2003/06/04(水)"_sj, "c");
    ScriptedMessageBox mb{MbAnswer::Cancel, MbAnswer::Ok};
    RunSchedListCommand(notebook, mb, [](ScheduleListModel& model) {
        model.Select(1);
        model.OnDelete();  // cancelled
        EXPECT_EQ(model.GetList().GetCount(), 3);
        model.OnDelete();
        EXPECT_EQ(model.GetList().GetCount(), 2);
        EXPECT_EQ(model.GetList().GetCurSel(), -1);
    });
    EXPECT_EQ(mb.GetShown().back().text, "選択されている予定を削除してよいですか？"_sj);
    EXPECT_EQ(mb.GetShown().back().caption, "削除確認"_sj);
    EXPECT_EQ(Businesses(), (std::vector<std::string>{"a", "c"}));
    EXPECT_TRUE(notebook.GetScheduleBook().IsChanged());
    EXPECT_TRUE(notebook.IsModified());
}

TEST_F(ScheduleListModelTest, DeletingTheOnlyEntryLeavesAnEmptyList) {
    Add(100, "2003/06/02(月)"_sj, "a");
    notebook.SetModifiedFlag(false);
    ScriptedMessageBox mb{MbAnswer::Ok};
    RunSchedListCommand(notebook, mb, [](ScheduleListModel& model) {
        model.Select(0);
        model.OnDelete();
        EXPECT_EQ(model.GetList().GetCount(), 0);
    });
    EXPECT_TRUE(notebook.GetScheduleBook().GetSchedules().empty());
    EXPECT_TRUE(notebook.IsModified());
}

}  // namespace
