// The printed page: how many pages a conversation takes, where the parts of a page go
// on different printers, and the date of the header.
#include "transcript/PrintLayout.h"

#include <gtest/gtest.h>

using namespace nelo;

namespace {

struct PageCountRow {
    int lines;
    int pages;
    int firstLineOfLastPage;
};

TEST(PrintLayout, PageCountIsFullPagesPlusOne) {
    const PageCountRow rows[] = {
        {0, 1, 0},   {1, 1, 0},     {49, 1, 0},    {50, 2, 50},         {51, 2, 50},
        {99, 2, 50}, {100, 3, 100}, {120, 3, 100}, {10000, 201, 10000},
    };
    for (const PageCountRow& row : rows) {
        EXPECT_EQ(PrintLayout::PageCount(row.lines), row.pages) << row.lines << " lines";
        EXPECT_EQ(PrintLayout::FirstLine(row.pages), row.firstLineOfLastPage) << row.lines << " lines";
    }
}

struct PlacementRow {
    const char* name;
    double dpi, width, height;    // printable area, inches
    double charHeight, leading;   // points
    double right, pageNumberTop;  // expected, inches
};

TEST(PrintLayout, PartsOfThePageStayApartAndOnThePaper) {
    const PlacementRow rows[] = {
        // A4 at 10 pt margins: the page as laid out, lines close up to fit 50.
        {"A4, PDF", 1200, 8.27 - 0.28, 11.69 - 0.28, 15.4, 0, 7.5, 10.5},
        {"A4, 600 dpi, a face with leading", 600, 7.9, 11.3, 14, 2, 7.5, 10.5},
        // Small fonts keep their own line height.
        {"small face", 300, 8, 11, 9, 1, 7.5, 10.5},
        // Letter with wide margins: the right edge and the page number move in.
        {"narrow and short", 300, 7, 10, 14, 0, 7, 10 - 14.0 / 72},
    };
    for (const PlacementRow& row : rows) {
        SCOPED_TRACE(row.name);
        const double pt = row.dpi / 72;
        const double c = row.charHeight * pt;
        PrintLayout layout(row.dpi, row.dpi, row.width * row.dpi, row.height * row.dpi, c, row.leading * pt);
        EXPECT_NEAR(layout.Left(), 0.5 * row.dpi, 0.01);
        EXPECT_NEAR(layout.HeaderTop(), 0.5 * row.dpi, 0.01);
        EXPECT_NEAR(layout.Right(), row.right * row.dpi, 0.01);
        EXPECT_NEAR(layout.PageNumberTop(), row.pageNumberTop * row.dpi, 0.01);
        EXPECT_LE(layout.LineHeight(), c + row.leading * pt + 1e-9);
        // The first line a blank line below the header, the 50th clear of the page number.
        EXPECT_GE(layout.BodyLineTop(0), layout.HeaderTop() + c);
        EXPECT_LE(layout.BodyLineTop(49) + c, layout.PageNumberTop() - c / 4 + 1e-6);
        EXPECT_LE(layout.PageNumberTop() + c, row.height * row.dpi + 1e-6);
        EXPECT_GE(layout.LineHeight(), 0.85 * row.charHeight * pt) << "lines too crowded to read";
    }
}

TEST(FormatPrintDate, PadsMonthAndDayWithBlanks) {
    struct Row {
        int year, month, day, hour, minute, second;
        const char* text;
    } rows[] = {
        {2003, 5, 9, 14, 5, 0, "2003/ 5/ 9 14:05:00"},
        {2026, 12, 8, 9, 0, 0, "2026/12/ 8 09:00:00"},
        {1999, 10, 31, 23, 59, 59, "1999/10/31 23:59:59"},
    };
    for (const Row& row : rows) {
        std::tm tm{};
        tm.tm_year = row.year - 1900;
        tm.tm_mon = row.month - 1;
        tm.tm_mday = row.day;
        tm.tm_hour = row.hour;
        tm.tm_min = row.minute;
        tm.tm_sec = row.second;
        EXPECT_EQ(FormatPrintDate(tm), row.text);
    }
}

}  // namespace
