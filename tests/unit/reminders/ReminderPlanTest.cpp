#include "reminders/ReminderPlan.h"

#include "ReminderTestEntries.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace nelo;

using namespace reminders_test;

namespace {

class ReminderPlanTest : public ::testing::Test {
protected:
    ReminderPlanTest() : clock(TimeOf({2026, 12, 8, 8, 0})) { SetCurrentClock(&clock); }
    ~ReminderPlanTest() override { SetCurrentClock(nullptr); }

    /// The summaries of the reminders due at a local time of 2026-12-08 (seconds too).
    std::vector<std::string> TakeAt(int hour, int minute, int second = 0, int day = 8) {
        std::vector<std::string> out;
        const std::time_t t = TimeOf({2026, 12, day, hour, minute}) + second;
        for (const Reminder& r : plan.TakeDue(entries, t)) out.push_back(r.summary);
        return out;
    }
    std::time_t NextAfter(int hour, int minute, int second = 0) const {
        return plan.NextDue(entries, TimeOf({2026, 12, 8, hour, minute}) + second).value_or(-1);
    }

    FixedClock clock;
    ReminderPlan::Entries entries;
    ReminderPlan plan;
};

using Texts = std::vector<std::string>;

TEST_F(ReminderPlanTest, EachEntryIsRemindedOnceFromItsDueTimeUntilItBegins) {
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 8}, "大掃除"_sj));
    entries.push_back(Entry({2026, 12, 9, 15, 0}, {2026, 12, 9, 16, 0}, "歯医者"_sj));
    struct Step {
        int hour, minute, second, day;
        Texts due;
    };
    const std::string allDay = "終日 大掃除"_sj, meeting = "10:00 会議"_sj, dentist = "15:00 歯医者"_sj;
    const Step steps[] = {
        {8, 59, 59, 8, {}}, {9, 0, 0, 8, {allDay}},    {9, 49, 59, 8, {}}, {9, 50, 0, 8, {meeting}},
        {9, 55, 0, 8, {}},  {14, 50, 0, 9, {dentist}}, {14, 51, 0, 9, {}},
    };
    for (const Step& s : steps)
        EXPECT_EQ(TakeAt(s.hour, s.minute, s.second, s.day), s.due) << s.day << " " << s.hour << ":" << s.minute;
}

TEST_F(ReminderPlanTest, AStartLaterThanTheDueTimeRemindsWhileTheEntryHasNotBegun) {
    struct Row {
        const char* name;
        int hour, minute, second;
        Texts due;
    };
    const std::string allDay = "終日 大掃除"_sj, meeting = "10:00 会議"_sj;
    const Row rows[] = {
        {"before the timed entry", 9, 55, 0, {allDay, meeting}},
        {"within a minute of its start", 10, 0, 59, {allDay, meeting}},
        {"after that minute", 10, 1, 0, {allDay}},
        {"the last second of the day", 23, 59, 59, {allDay}},
    };
    for (const Row& r : rows) {
        ReminderPlan fresh;
        entries.clear();
        entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
        entries.push_back(Entry({2026, 12, 8}, "大掃除"_sj));
        Texts got;
        for (const Reminder& rem : fresh.TakeDue(entries, TimeOf({2026, 12, 8, r.hour, r.minute}) + r.second))
            got.push_back(rem.summary);
        std::sort(got.begin(), got.end());
        Texts want = r.due;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << r.name;
    }
    ReminderPlan fresh;
    EXPECT_TRUE(fresh.TakeDue(entries, TimeOf({2026, 12, 9, 0, 0})).empty()) << "the next day";
}

TEST_F(ReminderPlanTest, IdenticalEntriesAreRemindedOnceEachAndDeletedOnesNever) {
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 8, 11, 0}, "来客"_sj));
    entries.push_back(Entry({2026, 12, 8, 11, 0}, "来客"_sj));
    // One of the two visitors is deleted before its time.
    entries.pop_back();
    EXPECT_EQ(TakeAt(9, 50), (Texts{"10:00 会議"_sj, "10:00 会議"_sj}));
    EXPECT_EQ(TakeAt(10, 50), (Texts{"11:00 来客"_sj}));
    EXPECT_EQ(TakeAt(10, 55), Texts{});
    // The file opened again brings the same entries back: nothing twice.
    entries.clear();
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 8, 11, 0}, "来客"_sj));
    EXPECT_EQ(TakeAt(10, 56), Texts{});
    // A third identical meeting registered now is a new one.
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    EXPECT_EQ(TakeAt(10, 0, 30), (Texts{"10:00 会議"_sj}));
}

TEST_F(ReminderPlanTest, NextDueLeadsTheOneTimerAndSurvivesClockJumps) {
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 8}, "大掃除"_sj));
    entries.push_back(Entry({2026, 12, 9, 15, 0}, "歯医者"_sj));
    EXPECT_EQ(NextAfter(8, 0), TimeOf({2026, 12, 8, 9, 0}));
    EXPECT_EQ(NextAfter(9, 0), TimeOf({2026, 12, 8, 9, 50}));
    EXPECT_EQ(NextAfter(9, 50), TimeOf({2026, 12, 9, 14, 50}));
    // The clock jumps forward over a reminder (a resume): it is shown at once if its
    // entry has not begun, and never twice after the clock goes back.
    EXPECT_EQ(TakeAt(9, 59, 30), (Texts{"終日 大掃除"_sj, "10:00 会議"_sj}));
    EXPECT_EQ(NextAfter(9, 40), TimeOf({2026, 12, 8, 9, 50}));
    EXPECT_EQ(TakeAt(9, 50), Texts{});
    // Past the last reminder nothing is ahead.
    EXPECT_EQ(NextAfter(23, 0), TimeOf({2026, 12, 9, 14, 50}));
    EXPECT_EQ(plan.NextDue(entries, TimeOf({2026, 12, 9, 14, 50})), std::nullopt);
}

TEST_F(ReminderPlanTest, SettingsMoveTheDueTimes) {
    entries.push_back(Entry({2026, 12, 8, 10, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 9}, "大掃除"_sj));
    struct Row {
        ReminderSettings settings;
        std::time_t timed, allDay;
    };
    const Row rows[] = {
        {{true, 0, 9 * 60, true}, TimeOf({2026, 12, 8, 10, 0}), TimeOf({2026, 12, 9, 9, 0})},
        {{true, 1440, 7 * 60 + 30, true}, TimeOf({2026, 12, 7, 10, 0}), TimeOf({2026, 12, 9, 7, 30})},
        {{true, 25, 23 * 60 + 59, true}, TimeOf({2026, 12, 8, 9, 35}), TimeOf({2026, 12, 9, 23, 59})},
    };
    for (const Row& r : rows) {
        plan.SetSettings(r.settings);
        EXPECT_EQ(plan.DueTime(*entries[0]), r.timed) << r.settings.minutesBefore;
        EXPECT_EQ(plan.DueTime(*entries[1]), r.allDay) << r.settings.allDayMinute;
    }
    plan.SetSettings({false, 10, 9 * 60, true});
    EXPECT_EQ(TakeAt(9, 55), Texts{});
    EXPECT_EQ(NextAfter(8, 0), -1);
}

TEST_F(ReminderPlanTest, TextsGiveTheTimeTheBusinessTheDateAndTheEnd) {
    struct Row {
        std::unique_ptr<ScheduleEntry> entry;
        std::string summary, body;
    };
    Row rows[] = {
        {Entry({2026, 12, 8, 10, 0}, "会議"_sj), "10:00 会議"_sj, "12/08(火) 10:00"_sj},
        {Entry({2026, 12, 8, 10, 0}, {2026, 12, 8, 12, 0}, "会議"_sj), "10:00 会議"_sj, "12/08(火) 10:00 ～ 12:00"_sj},
        {Entry({2026, 12, 31, 23, 0}, {2027, 1, 1, 1, 0}, "年越し"_sj), "23:00 年越し"_sj,
         "12/31(木) 23:00 ～ 2027/01/01(金) 01:00"_sj},
        {Entry({2026, 12, 8}, {2026, 12, 10}, "出張"_sj), "終日 出張"_sj, "12/08(火) ～ 12/10(木)"_sj},
        {Entry({2027, 1, 4}, "仕事始め"_sj), "終日 仕事始め"_sj, "2027/01/04(月)"_sj},
    };
    for (const Row& r : rows) {
        const Reminder rem = ReminderPlan::ReminderOf(*r.entry);
        EXPECT_EQ(rem.summary, r.summary);
        EXPECT_EQ(rem.body, r.body) << r.summary;
        EXPECT_TRUE(rem.key.Matches(*r.entry));
    }
}

TEST_F(ReminderPlanTest, TheStartupSummaryListsTodaysRemainingEntries) {
    entries.push_back(Entry({2026, 12, 8, 10, 0}, {2026, 12, 8, 12, 0}, "会議"_sj));
    entries.push_back(Entry({2026, 12, 8, 8, 30}, "朝会"_sj));
    entries.push_back(Entry({2026, 12, 7}, {2026, 12, 9}, "出張"_sj));
    entries.push_back(Entry({2026, 12, 9, 9, 0}, "来客"_sj));
    auto summary = plan.TodaySummary(entries, TimeOf({2026, 12, 8, 9, 0}));
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->summary, "今日の予定 2 件"_sj);
    EXPECT_EQ(summary->body, "12/07(月) ～ 12/09(水)　出張\n12/08(火) 10:00 ～ 12:00　会議"_sj);
    // Under way until noon, then nothing is left of today.
    EXPECT_TRUE(plan.TodaySummary(entries, TimeOf({2026, 12, 8, 11, 59})));
    entries.erase(entries.begin() + 2);
    EXPECT_FALSE(plan.TodaySummary(entries, TimeOf({2026, 12, 8, 12, 0})));
    // Its own switch turns it off, even while reminders are on.
    plan.SetSettings({true, 10, 9 * 60, false});
    EXPECT_FALSE(plan.TodaySummary(entries, TimeOf({2026, 12, 8, 9, 0})));

    plan.SetSettings({});
    entries.clear();
    for (int i = 0; i < 23; ++i) entries.push_back(Entry({2026, 12, 8, 10, i}, "打合せ"_sj));
    summary = plan.TodaySummary(entries, TimeOf({2026, 12, 8, 9, 0}));
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->summary, "今日の予定 23 件"_sj);
    EXPECT_EQ(std::count(summary->body.begin(), summary->body.end(), '\n'), 20);
    EXPECT_TRUE(summary->body.ends_with("12/08(火) 10:19　打合せ\nほか 3 件"_sj));
}

}  // namespace
