#include "DateTestClock.h"

#include "dates/DateParser.h"
#include "dates/DateText.h"
#include "text/Sjis.h"

using DateText = DateTestBase;

TEST_F(DateText, EntryDisplayAndTimeValue) {
    const struct {
        const char* phrase;
        const char* display;
        int hour, minute;
    } rows[] = {
        {"明日"_sj, "2003/06/02(月)"_sj, 0, 0},
        {"明日１０時"_sj, "2003/06/02(月) 10:00"_sj, 10, 0},
        {"２００３／６／７"_sj, "2003/06/07(土)"_sj, 0, 0},
        {"明日午後１０時３０分"_sj, "2003/06/02(月) 22:30"_sj, 22, 30},
    };
    for (const auto& r : rows) {
        std::string result, display;
        ASSERT_EQ(ParseDatePhrase(result, r.phrase), 1);
        std::time_t t = 0;
        EXPECT_EQ(FormatEntryDate(display, result, t), 1);
        EXPECT_EQ(display, r.display);
        int day = r.display[9] - '0';
        EXPECT_EQ(t, MakeLocalTime(2003, 6, day, r.hour, r.minute, 0));
    }
}

TEST_F(DateText, TimeValueOnlyWithinTenYears) {
    const struct {
        const char* phrase;
        int result;
    } rows[] = {
        {"２０１３／１２／３１"_sj, 1}, {"２０１４／１／１"_sj, 0},   {"１９９３／１／１"_sj, 1},
        {"１９９２／１２／３１"_sj, 0}, {"１７００／２／２９"_sj, 0},
    };
    for (const auto& r : rows) {
        std::string result, display;
        ASSERT_EQ(ParseDatePhrase(result, r.phrase), 1);
        std::time_t t = 12345;
        EXPECT_EQ(FormatEntryDate(display, result, t), r.result) << result;
        if (!r.result) {
            EXPECT_EQ(t, 12345);
        }
    }
}

TEST_F(DateText, ResultTextsOrderAsBytes) {
    std::string a, b, c;
    ParseDatePhrase(a, "２００３／６／２"_sj);
    ParseDatePhrase(b, "２００３／６／２"_sj);
    ParseDatePhrase(b, "０：００"_sj);
    ParseDatePhrase(c, "２００３／６／１０"_sj);
    EXPECT_EQ(b, "2003/06/02 00:00");
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
}
