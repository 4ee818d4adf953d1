#include "schedule/ScheduleBook.h"
#include "schedule/StartTimeQueue.h"
#include "schedule/ScheduleEntry.h"
#include "schedule/ScheduleIndex.h"
#include "text/Sjis.h"

#include "ScheduleTestClock.h"

#include <algorithm>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace nelo;

namespace {

std::unique_ptr<ScheduleEntry> Entry(std::int32_t startTime, const char* start, const char* end = "",
                                     const char* business = "", std::int32_t endTime = 0) {
    // Without an end text the end is the start, unless an end time is given.
    return std::make_unique<ScheduleEntry>(startTime, end[0] || endTime != 0 ? endTime : startTime, start, end,
                                           business);
}

class ScheduleFormatTest : public ScheduleClockTest {};

TEST_F(ScheduleFormatTest, DisplayLines) {
    struct Row {
        const char* start;
        const char* end;
        const char* expected;
    } rows[] = {
        {"2003/06/02(月) 10:00"_sj, "", "06/02(月) 10:00　会議"_sj},
        {"2003/05/10(土) 10:00"_sj, "2003/05/10(土) 12:00"_sj, "05/10(土) 10:00 ～ 12:00　会議"_sj},
        // Same day, the end without a time: nothing after the wave dash.
        {"2003/06/02(月)"_sj, "2003/06/02(月)"_sj, "06/02(月) ～ 　会議"_sj},
        {"2003/06/02(月)"_sj, "2003/06/02(月) 12:00"_sj, "06/02(月) ～ 12:00　会議"_sj},
        {"2003/12/28(日)"_sj, "2004/01/04(日)"_sj, "12/28(日) ～ 2004/01/04(日)　会議"_sj},
        {"2002/05/01(水)"_sj, "2002/05/05(日)"_sj, "2002/05/01(水) ～ 2002/05/05(日)　会議"_sj},
        {"2003/06/02(月)"_sj, "2003/06/05(木) 09:00"_sj, "06/02(月) ～ 06/05(木) 09:00　会議"_sj},
        // Texts too short for the year or day tests are shown whole.
        {"", "", "　会議"_sj},
        {"20", "2", "20 ～ 2　会議"_sj},
    };
    for (const Row& r : rows) {
        auto e = Entry(0, r.start, r.end, "会議"_sj);
        std::string text = "old";
        e->Format(text, CurrentYearText());
        EXPECT_EQ(text, r.expected) << r.start << " / " << r.end;
    }
}

TEST_F(ScheduleFormatTest, CurrentYearFollowsTheClock) {
    auto e = Entry(0, "2004/01/05(月)"_sj, "", "来年"_sj);
    std::string text;
    e->Format(text, CurrentYearText());
    EXPECT_EQ(text, "2004/01/05(月)　来年"_sj);
    SetNow(2004, 1, 1, 0, 0);
    e->Format(text, CurrentYearText());
    EXPECT_EQ(text, "01/05(月)　来年"_sj);
}

// The queue as its steps are written, ordered by start and then by insertion,
// renumbering every slot after each insertion: the reference the optimised queue must
// match slot for slot and index for index.
struct LiteralQueue {
    std::vector<std::pair<ScheduleEntry*, int>> slots{{nullptr, 0}};
    std::map<const ScheduleEntry*, int> slotOf;  // the slot each entry was last numbered with
    int inserted = 0;
    static bool Before(const std::pair<ScheduleEntry*, int>& a, const std::pair<ScheduleEntry*, int>& b) {
        return a.first->GetStartTime() < b.first->GetStartTime() ||
               (a.first->GetStartTime() == b.first->GetStartTime() && a.second < b.second);
    }
    void Insert(ScheduleEntry* p) {
        slots.push_back({p, inserted++});
        std::size_t n = slots.size() - 1;
        while (n != 1 && Before(slots[n], slots[n / 2])) {
            std::swap(slots[n / 2], slots[n]);
            n /= 2;
        }
        for (std::size_t i = 1; i < slots.size(); ++i) slotOf[slots[i].first] = static_cast<int>(i);
    }
    ScheduleEntry* RemoveTop() {
        std::size_t count = slots.size() - 1;
        if (count == 0) return nullptr;
        ScheduleEntry* top = slots[1].first;
        slots[1] = slots[count];
        slots.pop_back();
        --count;
        std::size_t b = 1;
        for (;;) {
            std::size_t a = 2 * b;
            if (a > count) break;
            if (a + 1 <= count && Before(slots[a + 1], slots[a])) ++a;
            if (!Before(slots[a], slots[b])) break;
            std::swap(slots[a], slots[b]);
            b = a;
        }
        return top;
    }
};

TEST(StartTimeQueueTest, MatchesTheLiteralStepsWithManyEqualStarts) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::unique_ptr<ScheduleEntry>> a, b;
        const std::size_t n = 1 + rng() % 60;
        for (std::size_t i = 0; i < n; ++i) {
            std::int32_t t = static_cast<std::int32_t>(rng() % 5);  // few distinct starts
            a.push_back(Entry(t, "", "", std::to_string(i).c_str()));
            b.push_back(Entry(t, "", "", std::to_string(i).c_str()));
        }
        StartTimeQueue queue(n);
        LiteralQueue literal;
        // Insertions and removals interleaved, as no caller does but the queue allows.
        std::size_t next = 0;
        while (next < a.size() || queue.GetCount() > 0) {
            if (next < a.size() && (rng() % 3 != 0 || queue.GetCount() == 0)) {
                queue.Insert(a[next].get());
                literal.Insert(b[next].get());
                ++next;
                for (std::size_t i = 0; i < n; ++i)
                    ASSERT_EQ(a[i]->GetHeapIndex(), literal.slotOf[b[i].get()]) << round;
            } else {
                ScheduleEntry* p = queue.RemoveTop();
                ScheduleEntry* q = literal.RemoveTop();
                ASSERT_NE(p, nullptr);
                ASSERT_EQ(p->GetBusiness(), q->GetBusiness()) << round;
            }
        }
        EXPECT_EQ(queue.RemoveTop(), nullptr);
    }
}

TEST(StartTimeQueueTest, InsertionsBeyondCapacityAreKept) {
    std::vector<std::unique_ptr<ScheduleEntry>> entries;
    StartTimeQueue queue(2);  // room for three insertions
    for (int i = 0; i < 40; ++i) {
        entries.push_back(Entry(40 - i, ""));
        queue.Insert(entries.back().get());
    }
    EXPECT_EQ(queue.GetCount(), 40);
    for (int i = 1; i <= 40; ++i) EXPECT_EQ(queue.RemoveTop()->GetStartTime(), i);
    EXPECT_EQ(queue.RemoveTop(), nullptr);
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}}) {
        StartTimeQueue small(n);
        EXPECT_EQ(small.RemoveTop(), nullptr);
        small.Insert(entries[0].get());
        small.Insert(entries[1].get());
        EXPECT_EQ(small.RemoveTop(), entries[1].get()) << n;
    }
}

class ScheduleListTest : public ScheduleClockTest {};

TEST_F(ScheduleListTest, SortOrdersByStartThenRegistration) {
    ScheduleBook pro;
    pro.SortSchedules();
    EXPECT_TRUE(pro.GetSchedules().empty());
    const std::int32_t starts[] = {2004, 10, 10, 10, 10, 9, -1, 10};
    const char* names[] = {"来年", "A", "B", "C", "D", "早い", "昨年末", "E"};
    for (int i = 0; i < 8; ++i) pro.AddSchedule(Entry(starts[i], "", "", names[i]));
    const std::vector<std::string> expected{"昨年末", "早い", "A", "B", "C", "D", "E", "来年"};
    // The list dialog sorts the list each time it opens: equal starts keep their order.
    for (int round = 0; round < 3; ++round) {
        pro.SortSchedules();
        std::vector<std::string> order;
        for (auto& e : pro.GetSchedules()) order.push_back(e->GetBusiness());
        EXPECT_EQ(order, expected) << round;
    }
}

TEST_F(ScheduleListTest, PurgeRemovesWhatEndedMoreThanADayAgo) {
    const std::int32_t now = static_cast<std::int32_t>(m_clock.Now());
    ScheduleBook pro;
    pro.AddSchedule(Entry(now - 23 * 3600, "", "", "23h"));
    pro.AddSchedule(Entry(now - 25 * 3600, "", "", "25h"));
    pro.AddSchedule(Entry(now - 100 * 86400, "s", "x", "ends 23h ago", now - 23 * 3600));
    pro.AddSchedule(Entry(now - 3 * 86400, "s", "x", "ended 2 days ago", now - 2 * 86400));
    // m_endTime counts only with an end text.
    pro.AddSchedule(Entry(now - 30 * 3600, "", "", "no end text", now));
    pro.AddSchedule(Entry(std::numeric_limits<std::int32_t>::max(), "", "", "far"));
    pro.PurgePastSchedules();
    std::vector<std::string> kept;
    for (auto& e : pro.GetSchedules()) kept.push_back(e->GetBusiness());
    EXPECT_EQ(kept, (std::vector<std::string>{"23h", "ends 23h ago", "far"}));
    EXPECT_TRUE(pro.IsChanged());
    EXPECT_TRUE(pro.IsPastPurged());

    ScheduleBook fresh;
    fresh.AddSchedule(Entry(now, "", "", "now"));
    fresh.PurgePastSchedules();
    EXPECT_EQ(fresh.GetSchedules().size(), 1u);
    EXPECT_FALSE(fresh.IsChanged());
    EXPECT_FALSE(fresh.IsPastPurged());
}

TEST_F(ScheduleListTest, DeleteContentsEmptiesAndClearsFlags) {
    ScheduleBook pro;
    pro.AddSchedule(Entry(1, ""));
    pro.PurgePastSchedules();  // sets both flags
    pro.AddSchedule(Entry(std::numeric_limits<std::int32_t>::max(), ""));
    pro.ClearContents();
    EXPECT_TRUE(pro.GetSchedules().empty());
    EXPECT_FALSE(pro.IsChanged());
    EXPECT_FALSE(pro.IsPastPurged());
}

TEST(ScheduleIndexTest, ConflictsMatchAWalkOverEveryEntry) {
    std::mt19937 rng(11);
    std::vector<std::unique_ptr<ScheduleEntry>> entries;
    ScheduleIndex index;
    for (int i = 0; i < 2000; ++i) {
        std::int32_t s = static_cast<std::int32_t>(rng() % 10000);
        // Mostly short entries, a few long ones, some whose end lies before the start.
        std::int32_t len =
            (rng() % 50 == 0) ? static_cast<std::int32_t>(rng() % 5000) : static_cast<std::int32_t>(rng() % 30) - 3;
        entries.push_back(Entry(s, "", "x", "", s + len));
        index.Add(entries.back().get(), entries.size() - 1);
        if (i % 97 == 0) {
            for (std::int32_t t = -5; t < 10100; t += 37) {
                // Every entry that holds t, or t + 20, once; the first 50 of them shown.
                std::vector<std::size_t> got, want;
                const std::size_t count = index.Conflicts(t, t + 20, 50, got);
                for (std::size_t k = 0; k < entries.size(); ++k)
                    if ((entries[k]->GetStartTime() <= t && t <= entries[k]->GetEndTime()) ||
                        (entries[k]->GetStartTime() <= t + 20 && t + 20 <= entries[k]->GetEndTime()))
                        want.push_back(k);
                ASSERT_EQ(count, want.size()) << "t=" << t;
                if (want.size() > 50) want.resize(50);
                ASSERT_EQ(got, want) << "t=" << t;
                ASSERT_EQ(index.AnyConflict(t, t + 20), count > 0) << "t=" << t;
            }
        }
    }
}

TEST_F(ScheduleListTest, ConflictsAfterTheListWasChangedBehindTheIndex) {
    ScheduleBook pro;
    std::string answer;
    pro.RegisterSchedule("2003/06/02(月) 10:00"_sj, "", "A", answer, 1000, 1000);
    pro.RegisterSchedule("2003/06/02(月) 09:00"_sj, "2003/06/02(月) 11:00"_sj, "B", answer, 900, 1100);
    pro.RegisterSchedule("2003/06/02(月) 10:30"_sj, "", "C", answer, 1050, 1050);
    EXPECT_EQ(answer,
              "既に予定がありますが、下記の予定を登録しました。\r\n"
              "06/02(月) 09:00 ～ 11:00　B\r\n"
              "06/02(月) 10:30　C"_sj);
    // A deletion moves the later entries up; sorting reorders.
    pro.DeleteSchedule(1);
    pro.RegisterSchedule("2003/06/02(月) 10:00"_sj, "2003/06/02(月) 10:30"_sj, "D", answer, 1000, 1050);
    EXPECT_EQ(answer,
              "既に予定がありますが、下記の予定を登録しました。\r\n"
              "06/02(月) 10:00　A\r\n"
              "06/02(月) 10:30　C\r\n"
              "06/02(月) 10:00 ～ 10:30　D"_sj);
    pro.SortSchedules();
    pro.RegisterSchedule("2003/06/02(月) 10:30"_sj, "", "E", answer, 1050, 1050);
    // List order after the sort: A (1000), D (1000), C (1050); A ends before 10:30.
    EXPECT_EQ(answer,
              "既に予定がありますが、下記の予定を登録しました。\r\n"
              "06/02(月) 10:00 ～ 10:30　D\r\n"
              "06/02(月) 10:30　C\r\n"
              "06/02(月) 10:30　E"_sj);
    // Enclosing an entry without either end inside it is no conflict.
    pro.RegisterSchedule("x", "y", "F", answer, 0, 5000);
    EXPECT_EQ(answer, "下記の予定を登録しました。\r\nx ～ y　F"_sj);
    pro.RegisterSchedule("x", "y", "G", answer, 6000, 7000);
    EXPECT_EQ(answer, "下記の予定を登録しました。\r\nx ～ y　G"_sj);
    EXPECT_TRUE(pro.IsChanged());
}

TEST_F(ScheduleListTest, RandomRegistrationsMatchAWalkOverTheList) {
    std::mt19937 rng(3);
    ScheduleBook pro;
    std::string answer, line;
    for (int i = 0; i < 600; ++i) {
        std::int32_t s = static_cast<std::int32_t>(rng() % 3000);
        // Every tenth entry is long, so that later ones meet more than the answer shows.
        std::int32_t e = s + static_cast<std::int32_t>(i % 10 == 0 ? 3000 : rng() % 40);
        std::vector<std::string> conflicts;
        for (auto& x : pro.GetSchedules())
            if ((x->GetStartTime() <= s && s <= x->GetEndTime()) || (x->GetStartTime() <= e && e <= x->GetEndTime())) {
                x->Format(line, CurrentYearText());
                conflicts.push_back(line + "\r\n");
            }
        std::string name = std::to_string(i);
        if (i % 7 == 3) {
            // The calendar's registration only tells whether there was a conflict.
            auto entry = Entry(s, name.c_str(), "", name.c_str(), e);
            ASSERT_EQ(pro.AddRegistered(std::move(entry)), !conflicts.empty()) << i;
            continue;
        }
        std::string want = "下記の予定を登録しました。\r\n"_sj;
        if (!conflicts.empty()) {
            want = "既に予定がありますが、下記の予定を登録しました。\r\n"_sj;
            for (std::size_t k = 0; k < conflicts.size() && k < ScheduleBook::kMaxConflictLines; ++k)
                want += conflicts[k];
            if (conflicts.size() > ScheduleBook::kMaxConflictLines)
                want +=
                    "（ほか "_sj + std::to_string(conflicts.size() - ScheduleBook::kMaxConflictLines) + " 件）\r\n"_sj;
        }
        pro.RegisterSchedule(name, "", name, answer, s, e);
        pro.GetSchedules().back()->Format(line, CurrentYearText());
        ASSERT_EQ(answer, want + line) << i;
        if (i % 50 == 49) pro.DeleteSchedule(rng() % pro.GetSchedules().size());
        if (i % 120 == 119) pro.SortSchedules();
    }
}

}  // namespace
