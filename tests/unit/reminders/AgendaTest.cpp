#include "reminders/EntryTimes.h"

#include "ReminderTestEntries.h"

#include <gtest/gtest.h>

using namespace nelo;

using namespace reminders_test;

namespace {

TEST(EntryTimesTest, ATimeOfDayFollowsTheClosingParenthesis) {
    EXPECT_TRUE(HasTimeOfDay("2003/06/02(月) 10:00"_sj));
    EXPECT_FALSE(HasTimeOfDay("2003/06/02(月)"_sj));
    EXPECT_FALSE(HasTimeOfDay(""));
}

TEST(EntryTimesTest, AgendaHoldsWhatIsStillAheadOrUnderWayThroughTheLastDay) {
    std::vector<std::unique_ptr<ScheduleEntry>> entries;
    auto add = [&](std::unique_ptr<ScheduleEntry> p) { entries.push_back(std::move(p)); };
    add(Entry({2026, 12, 8, 8, 30}, "朝会"_sj));                        // begun, no end
    add(Entry({2026, 12, 8, 8, 0}, {2026, 12, 8, 9, 30}, "会議"_sj));   // under way
    add(Entry({2026, 12, 8}, "大掃除"_sj));                             // all of today
    add(Entry({2026, 12, 6}, {2026, 12, 10}, "出張"_sj));               // days under way
    add(Entry({2026, 12, 9, 23, 59}, "夜行"_sj));                       // end of tomorrow
    add(Entry({2026, 12, 10}, "締切"_sj));                              // the day after
    add(Entry({2026, 12, 7, 22, 0}, {2026, 12, 8}, "夜勤"_sj));         // ends with today
    add(Entry({2026, 12, 7, 20, 0}, {2026, 12, 7, 23, 0}, "宴会"_sj));  // over
    add(Entry({2026, 12, 9, 10, 0}, {2026, 12, 8, 10, 0}, "逆転"_sj));  // end before start: a moment
    const std::time_t now = TimeOf({2026, 12, 8, 9, 0});
    auto names = [&](int days) {
        std::vector<std::string> out;
        for (const ScheduleEntry* p : AgendaEntries(entries, now, days)) out.push_back(p->GetBusiness());
        return out;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(names(0), (Names{"出張"_sj, "夜勤"_sj, "大掃除"_sj, "会議"_sj}));
    EXPECT_EQ(names(1), (Names{"出張"_sj, "夜勤"_sj, "大掃除"_sj, "会議"_sj, "逆転"_sj, "夜行"_sj}));
    EXPECT_EQ(names(2), (Names{"出張"_sj, "夜勤"_sj, "大掃除"_sj, "会議"_sj, "逆転"_sj, "夜行"_sj, "締切"_sj}));
}

}  // namespace
