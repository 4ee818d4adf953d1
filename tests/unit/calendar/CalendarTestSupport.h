// A frozen clock and zone for the calendar tests (2003-06-01 10:00 in UTC unless a test
// moves them), and the small steps the tests share: typing lines, listing, importing.
#pragma once

#include "calendar/ICalendar.h"
#include "notebook/LineRoute.h"
#include "dates/DateTimeRec.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "schedule/ScheduleBook.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string>

class CalendarTest : public testing::Test {
protected:
    CalendarTest() : m_clock(0) {
        SetZone("UTC0");
        SetNow(2003, 6, 1, 10, 0);
        nelo::SetCurrentClock(&m_clock);
    }
    ~CalendarTest() override {
        nelo::SetCurrentClock(nullptr);
        SetZone("UTC0");
    }

    static void SetZone(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }
    /// Moves the frozen clock to that local time (a schedule line starts from today).
    void SetNow(int y, int mo, int d, int h, int mi) { m_clock.Set(nelo::MakeLocalTime(y, mo, d, h, mi, 0)); }
    /// Registers typed lines (UTF-8) as the conversation would.
    static void Type(nelo::ScheduleBook& pro, std::initializer_list<const char*> lines) {
        for (const char* typed : lines) {
            std::string text, answer;
            nelo::ClassifyLine(nelo::Utf8ToCp932(typed).text, text);
            ASSERT_TRUE(pro.Answer(text, answer)) << typed;
        }
    }
    /// Every entry in start order, as 「予定」 answers (UTF-8).
    static std::string Listing(nelo::ScheduleBook& pro) {
        std::string answer;
        pro.ListSchedules(answer);
        return nelo::Cp932ToUtf8(answer).text;
    }
    /// Imports a text into m_pro; the report in UTF-8.
    std::string Import(const std::string& text, nelo::ICalImportResult* result = nullptr) {
        std::string answer;
        const nelo::ICalImportResult r = nelo::ImportICalendar(m_pro, text, answer);
        if (result) *result = r;
        return nelo::Cp932ToUtf8(answer).text;
    }
    /// A calendar around the given components (CR LF).
    static std::string Calendar(const std::string& components) {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n" + components + "END:VCALENDAR\r\n";
    }

    nelo::FixedClock m_clock;
    nelo::ScheduleBook m_pro;
};
