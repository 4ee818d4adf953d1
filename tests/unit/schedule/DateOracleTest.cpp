// Every phrase form, registered as a schedule line at many clocks, against dates worked
// out here with the C++ calendar types (year_month_day, weekday, weekday_indexed,
// sys_days) and nothing of Nelo's own date code. Then random lines built from the forms:
// each is registered on the date worked out here, or refused and nothing stored.
#include "notebook/LineRoute.h"
#include "schedule/ScheduleBook.h"
#include "text/Sjis.h"

#include "ScheduleTestClock.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace nelo;

namespace {

using namespace std::chrono;

struct OracleClock {
    int y, m, d, hh, mm;
    const char* what;
};

// Sundays, Saturdays at 23:59, month ends, 28 and 29 February, New Year's Eve, a Monday
// at midnight, Fridays.
const OracleClock kClocks[] = {
    {2024, 2, 25, 10, 0, "a Sunday"},
    {2024, 3, 2, 23, 59, "a Saturday at 23:59"},
    {2024, 1, 31, 12, 0, "31 January"},
    {2024, 2, 28, 9, 0, "28 February of a leap year"},
    {2024, 2, 29, 18, 0, "29 February"},
    {2023, 12, 31, 23, 0, "New Year's Eve"},
    {2024, 3, 4, 0, 0, "a Monday at 00:00"},
    {2024, 3, 8, 15, 0, "a Friday"},
    {2023, 2, 28, 8, 0, "28 February of a common year"},
    {2024, 12, 31, 0, 0, "New Year's Eve, a Tuesday at 00:00"},
    {2025, 6, 30, 13, 0, "the last day of June"},
    {2024, 8, 31, 23, 59, "a Saturday at the end of August"},
    {2026, 1, 1, 0, 0, "New Year's Day"},
    {2027, 10, 31, 21, 0, "a Sunday at the end of October"},
};

/// What a line should register: a day, and a time of day (minutes) when it has one.
struct Expect {
    sys_days day;
    std::optional<int> minutes;
};
using Oracle = std::function<std::optional<Expect>(const OracleClock&)>;

sys_days TodayOf(const OracleClock& c) { return sys_days{year{c.y} / c.m / c.d}; }
sys_days SundayOf(sys_days t) { return t - (weekday{t} - Sunday); }
sys_days OnOrAfter(sys_days t, weekday wd) { return t + (wd - weekday{t}); }
year_month_day AddMonths(year_month_day d, int n) {
    year_month_day r = d + months{n};
    return r.ok() ? r : year_month_day{year_month_day_last{r.year(), month_day_last{r.month()}}};
}
year_month_day AddYears(year_month_day d, int n) {
    year_month_day r = d + years{n};
    return r.ok() ? r : year_month_day{year_month_day_last{r.year(), month_day_last{r.month()}}};
}
std::optional<Expect> Day(sys_days d) { return Expect{d, std::nullopt}; }

// A month and day without a year: the first on or after today (a 29 February waits).
std::optional<Expect> NextMonthDay(const OracleClock& c, unsigned m, unsigned d) {
    for (int y = c.y; y < c.y + 9; ++y) {
        const year_month_day ymd{year{y}, month{m}, day{d}};
        if (ymd.ok() && sys_days{ymd} >= TodayOf(c)) return Day(sys_days{ymd});
    }
    return std::nullopt;
}

// A day of the month alone: this month's; before today, the next month that has it;
// a day this month does not have is refused.
std::optional<Expect> NextDayOfMonth(const OracleClock& c, unsigned d) {
    year_month ym{year{c.y}, month{static_cast<unsigned>(c.m)}};
    if (!(ym / day{d}).ok()) return std::nullopt;
    for (int k = 0; k < 13; ++k, ym += months{1}) {
        const year_month_day ymd = ym / day{d};
        if (ymd.ok() && sys_days{ymd} >= TodayOf(c)) return Day(sys_days{ymd});
    }
    return std::nullopt;
}

std::optional<Expect> NthWeekday(year_month ym, weekday wd, unsigned n) {
    const year_month_weekday ymw{ym.year(), ym.month(), wd[n]};
    if (!ymw.ok()) return std::nullopt;
    return Day(sys_days{ymw});
}

std::optional<Expect> FromNow(const OracleClock& c, int minutes) {
    const sys_seconds t = TodayOf(c) + hours{c.hh} + std::chrono::minutes{c.mm + minutes};
    const sys_days d = floor<days>(t);
    return Expect{d, static_cast<int>(duration_cast<std::chrono::minutes>(t - d).count())};
}

year_month ThisMonth(const OracleClock& c) { return year_month{year{c.y}, month{static_cast<unsigned>(c.m)}}; }

Oracle HereMonthDay(unsigned m, unsigned d) {
    return [m, d](const OracleClock& c) -> std::optional<Expect> {
        const year_month_day ymd{year{c.y}, month{m}, day{d}};
        if (!ymd.ok()) return std::nullopt;
        return Day(sys_days{ymd});
    };
}

Oracle HereDay(unsigned d) {
    return [d](const OracleClock& c) -> std::optional<Expect> {
        const year_month_day ymd = ThisMonth(c) / day{d};
        if (!ymd.ok()) return std::nullopt;
        return Day(sys_days{ymd});
    };
}

struct Form {
    const char* phrase;
    Oracle oracle;
    bool past = false;   ///< names a day that may lie before today
    bool timed = false;  ///< gives its own time of day (no time may follow)
    /// For a date without its year (or month): this year's (this month's) day, which an
    /// entry under way keeps when it has passed and the entry's end has not.
    Oracle here = nullptr;
};

std::vector<Form> Forms() {
    const auto today = [](const OracleClock& c) { return TodayOf(c); };
    const auto plus = [today](int n) { return [today, n](const OracleClock& c) { return Day(today(c) + days{n}); }; };
    const auto months = [](int n) {
        return [n](const OracleClock& c) { return Day(sys_days{AddMonths(year_month_day{TodayOf(c)}, n)}); };
    };
    const auto week = [](int n, weekday wd) {
        return [n, wd](const OracleClock& c) { return Day(SundayOf(TodayOf(c)) + days{7 * n} + (wd - Sunday)); };
    };
    return {
        {"今日"_sj, plus(0)},
        {"きょう"_sj, plus(0)},
        {"本日"_sj, plus(0)},
        {"明日"_sj, plus(1)},
        {"あした"_sj, plus(1)},
        {"あす"_sj, plus(1)},
        {"明後日"_sj, plus(2)},
        {"あさって"_sj, plus(2)},
        {"しあさって"_sj, plus(3)},
        {"明々後日"_sj, plus(3)},
        {"昨日"_sj, plus(-1), true},
        {"きのう"_sj, plus(-1), true},
        {"一昨日"_sj, plus(-2), true},
        {"おととい"_sj, plus(-2), true},
        {"翌日"_sj, plus(1)},
        {"３日後"_sj, plus(3)},
        {"三日後"_sj, plus(3)},
        {"十日後"_sj, plus(10)},
        {"二十日後"_sj, plus(20)},
        {"１０日前"_sj, plus(-10), true},
        {"２週間後"_sj, plus(14)},
        {"二週間後"_sj, plus(14)},
        {"１ヶ月後"_sj, months(1)},
        {"一ヶ月後"_sj, months(1)},
        {"３か月後"_sj, months(3)},
        {"半年後"_sj, months(6)},
        {"１年後"_sj, [](const OracleClock& c) { return Day(sys_days{AddYears(year_month_day{TodayOf(c)}, 1)}); }},
        {"今週の金曜"_sj, week(0, Friday), true},
        {"来週の月曜"_sj, week(1, Monday)},
        {"来週月曜"_sj, week(1, Monday)},
        {"来週の金曜日"_sj, week(1, Friday)},
        {"再来週の水曜"_sj, week(2, Wednesday)},
        {"先週の金曜"_sj, week(-1, Friday), true},
        {"週末"_sj, week(0, Saturday)},
        {"今週末"_sj, week(0, Saturday)},
        {"来週末"_sj, week(1, Saturday)},
        {"２週間後の月曜"_sj, week(2, Monday)},
        {"１週間後の金曜"_sj, week(1, Friday)},
        {"金曜"_sj, [](const OracleClock& c) { return Day(OnOrAfter(TodayOf(c), Friday)); }},
        {"日曜日"_sj, [](const OracleClock& c) { return Day(OnOrAfter(TodayOf(c), Sunday)); }},
        {"次の金曜"_sj, [](const OracleClock& c) { return Day(OnOrAfter(TodayOf(c) + days{1}, Friday)); }},
        {"今度の月曜"_sj, [](const OracleClock& c) { return Day(OnOrAfter(TodayOf(c) + days{1}, Monday)); }},
        {"３日後の金曜"_sj, [](const OracleClock& c) { return Day(OnOrAfter(TodayOf(c) + days{3}, Friday)); }},
        {"１日後の月曜"_sj, [](const OracleClock& c) { return Day(OnOrAfter(TodayOf(c) + days{1}, Monday)); }},
        {"１ヶ月後の金曜"_sj,
         [](const OracleClock& c) {
             return Day(OnOrAfter(sys_days{AddMonths(year_month_day{TodayOf(c)}, 1)}, Friday));
         }},
        {"来月の第２金曜"_sj,
         [](const OracleClock& c) { return NthWeekday(ThisMonth(c) + std::chrono::months{1}, Friday, 2); }},
        {"来月第１月曜"_sj,
         [](const OracleClock& c) { return NthWeekday(ThisMonth(c) + std::chrono::months{1}, Monday, 1); }},
        {"今月の第５土曜"_sj, [](const OracleClock& c) { return NthWeekday(ThisMonth(c), Saturday, 5); }, true},
        {"月末"_sj,
         [](const OracleClock& c) {
             return Day(sys_days{year_month_day_last{year{c.y}, month_day_last{month(static_cast<unsigned>(c.m))}}});
         }},
        {"今月末"_sj,
         [](const OracleClock& c) {
             return Day(sys_days{year_month_day_last{year{c.y}, month_day_last{month(static_cast<unsigned>(c.m))}}});
         }},
        {"来月末"_sj,
         [](const OracleClock& c) {
             const year_month ym = ThisMonth(c) + std::chrono::months{1};
             return Day(sys_days{ym / last});
         }},
        {"来月５日"_sj,
         [](const OracleClock& c) { return Day(sys_days{(ThisMonth(c) + std::chrono::months{1}) / 5}); }},
        {"２／２９"_sj, [](const OracleClock& c) { return NextMonthDay(c, 2, 29); }, false, false, HereMonthDay(2, 29)},
        {"１／５"_sj, [](const OracleClock& c) { return NextMonthDay(c, 1, 5); }, false, false, HereMonthDay(1, 5)},
        {"１２月２５日"_sj, [](const OracleClock& c) { return NextMonthDay(c, 12, 25); }, false, false,
         HereMonthDay(12, 25)},
        {"３月１日"_sj, [](const OracleClock& c) { return NextMonthDay(c, 3, 1); }, false, false, HereMonthDay(3, 1)},
        {"１日"_sj, [](const OracleClock& c) { return NextDayOfMonth(c, 1); }, false, false, HereDay(1)},
        {"３１日"_sj, [](const OracleClock& c) { return NextDayOfMonth(c, 31); }, false, false, HereDay(31)},
        {"２９日"_sj, [](const OracleClock& c) { return NextDayOfMonth(c, 29); }, false, false, HereDay(29)},
        {"３月の第２日曜"_sj,
         [](const OracleClock& c) -> std::optional<Expect> {
             for (int y = c.y; y < c.y + 2; ++y) {
                 const sys_days d{year_month_weekday{year{y}, March, Sunday[2]}};
                 if (d >= TodayOf(c)) return Day(d);
             }
             return std::nullopt;
         },
         false, false,
         [](const OracleClock& c) {
             return Day(sys_days{year_month_weekday{year{c.y}, March, Sunday[2]}});
         }},
        {"２０２５年１月５日"_sj, [](const OracleClock&) { return Day(sys_days{2025y / January / 5}); }, true},
        {"２時間後"_sj, [](const OracleClock& c) { return FromNow(c, 120); }, false, true},
        {"３０分後"_sj, [](const OracleClock& c) { return FromNow(c, 30); }, false, true},
        {"１時間半後"_sj, [](const OracleClock& c) { return FromNow(c, 90); }, false, true},
    };
}

struct TimeWord {
    const char* text;
    int minutes;
};
const TimeWord kTimes[] = {
    {"１０時"_sj, 600}, {"午後３時"_sj, 900}, {"１８：３０"_sj, 1110}, {"正午"_sj, 720}, {"９時半"_sj, 570},
};

// A time of day joined to a phrase in one word: 「明日１０時」, but 「２／２９の１０時」 after
// digits, where 「２／２９１０時」 would run the numbers together.
std::string Joined(const std::string& phrase, const char* time) {
    const bool isDigit = phrase.size() >= 2 && static_cast<unsigned char>(phrase[phrase.size() - 2]) == 0x82 &&
                         static_cast<unsigned char>(phrase.back()) >= 0x4F &&
                         static_cast<unsigned char>(phrase.back()) <= 0x58;
    return phrase + (isDigit ? "の"_sj : "") + time;
}

std::string Display(const Expect& e) {
    static const char* const kNames[] = {"日"_sj, "月"_sj, "火"_sj, "水"_sj, "木"_sj, "金"_sj, "土"_sj};
    const year_month_day ymd{e.day};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%02u/%02u(%s)", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()), kNames[weekday{e.day}.c_encoding()]);
    std::string out = buf;
    if (e.minutes) {
        std::snprintf(buf, sizeof buf, " %02d:%02d", *e.minutes / 60, *e.minutes % 60);
        out += buf;
    }
    return out;
}

class DateOracle : public ScheduleClockTest {
protected:
    // Registers a typed line on an empty list: the stored start text, or "" when refused.
    std::string Register(const std::string& typed, std::string& answer) {
        m_pro.ClearContents();
        std::string text;
        ClassifyLine(typed, text);
        answer.clear();
        m_pro.Answer(text, answer);
        if (m_pro.GetSchedules().empty()) return "";
        return m_pro.GetSchedules().back()->GetStartText();
    }

    ScheduleBook m_pro;
};

}  // namespace

TEST_F(DateOracle, EveryFormAtEveryClock) {
    const std::vector<Form> forms = Forms();
    int checked = 0;
    for (const OracleClock& c : kClocks) {
        SetNow(c.y, c.m, c.d, c.hh, c.mm);
        for (const Form& f : forms) {
            const std::optional<Expect> expect = f.oracle(c);
            std::string answer;
            const std::string start = Register(f.phrase + std::string(" 用件"_sj), answer);
            const std::string where = std::string(c.what) + " " + std::to_string(c.y) + "-" + std::to_string(c.m) +
                                      "-" + std::to_string(c.d) + ": " + f.phrase;
            if (!expect) {
                EXPECT_EQ(start, "") << where;
                EXPECT_FALSE(answer.empty()) << where;
                continue;
            }
            EXPECT_EQ(start, Display(*expect)) << where;
            ++checked;
            // The same day with a time of day, in the word and in a word of its own.
            if (f.timed) continue;
            for (const TimeWord& t : kTimes) {
                Expect timed = *expect;
                timed.minutes = t.minutes;
                EXPECT_EQ(Register(Joined(f.phrase, t.text) + " 用件"_sj, answer), Display(timed)) << where << t.text;
                EXPECT_EQ(Register(f.phrase + std::string(" ") + t.text + " 用件"_sj, answer), Display(timed))
                    << where << " " << t.text;
            }
        }
    }
    EXPECT_GT(checked, 12 * 50);
}

// Random lines from the forms: a start with or without a time, in its word or the next,
// and an end (a time, or another form in the word after a range mark or in a word of its
// own). Each line registers its start on the oracle's day or is refused with nothing
// stored; nothing lands before today unless its start names a past day; an end never
// lies before its start.
TEST_F(DateOracle, RandomLinesRegisterTheOraclesDayOrAreRefused) {
    const std::vector<Form> forms = Forms();
    const char* const marks[] = {"～"_sj, "から"_sj, " "};
    std::mt19937 rng(20240225);
    int registered = 0, refused = 0;
    for (int n = 0; n < 6000; ++n) {
        const OracleClock& c = kClocks[rng() % std::size(kClocks)];
        SetNow(c.y, c.m, c.d, c.hh, c.mm);
        const Form& f = forms[rng() % forms.size()];
        std::optional<Expect> expect = f.oracle(c);
        std::string line = f.phrase;
        if (!f.timed && rng() % 2) {
            const TimeWord& t = kTimes[rng() % std::size(kTimes)];
            line = rng() % 2 ? line + " " + t.text : Joined(line, t.text);
            if (expect) expect->minutes = t.minutes;
        }
        if (rng() % 2) {
            line += marks[rng() % std::size(marks)];
            line +=
                rng() % 2 ? std::string(kTimes[rng() % std::size(kTimes)].text) : forms[rng() % forms.size()].phrase;
        }
        line += " 用件"_sj;
        std::string answer;
        const std::string start = Register(line, answer);
        ASSERT_FALSE(answer.empty()) << line;
        if (start.empty()) {
            ++refused;
            continue;
        }
        ++registered;
        ASSERT_TRUE(expect.has_value()) << c.what << ": " << line << " registered " << start;
        // A start with its own time of day keeps it; the start's day is always the oracle's,
        // or this year's (month's) day of an entry under way.
        const ScheduleEntry& e = *m_pro.GetSchedules().back();
        bool underWay = false;
        if (f.here && !e.GetEndText().empty()) {
            const std::optional<Expect> here = f.here(c);
            if (here && here->day < TodayOf(c) && start.substr(0, Display(*here).size()) == Display(*here)) {
                const sys_seconds end{seconds{e.GetEndTime()}};
                ASSERT_GE(floor<days>(end), TodayOf(c)) << c.what << ": " << line;
                expect->day = here->day;
                underWay = true;
            }
        }
        const std::string day = Display(Expect{expect->day, std::nullopt});
        ASSERT_EQ(start.substr(0, day.size()), day) << c.what << ": " << line;
        if (expect->minutes) {
            ASSERT_EQ(start, Display(*expect)) << c.what << ": " << line;
        }
        if (!f.past && !underWay) {
            ASSERT_GE(expect->day, TodayOf(c)) << c.what << ": " << line;
        }
        if (!e.GetEndText().empty()) {
            ASSERT_LE(e.GetStartTime(), e.GetEndTime()) << c.what << ": " << line;
        }
    }
    EXPECT_GT(registered, 2000);
    EXPECT_GT(refused, 100);
}
