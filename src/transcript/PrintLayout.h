// Where the parts of a printed conversation page go. The page is laid out in twips
// (1/1440 inch) from the top left of the printer's printable area: the header half an
// inch down, the date and the page number ending 7.5 inches from the left, the page
// number 10.5 inches down, 50 lines of the conversation between them. The front end
// measures the text; this class turns the twips into the printer's device units and
// decides the line height.
#pragma once

#include <ctime>
#include <string>

namespace nelo {

class PrintLayout {
public:
    static constexpr int kLinesPerPage = 50;
    static constexpr int kTwipsPerInch = 1440;
    /// Left edge of every text on the page.
    static constexpr int kLeftTwips = 720;
    /// Right edge the date and the page number end at.
    static constexpr int kRightTwips = 720 + 10080;
    /// Top of the header line.
    static constexpr int kHeaderTopTwips = 720;
    /// Top of the page number.
    static constexpr int kPageNumberTopTwips = 15120;

    /// Pages for lines laid-out lines: the full pages plus one, so a conversation of
    /// exactly 50 lines has a second page with only the header and the page number.
    static int PageCount(int lines) { return (lines < 0 ? 0 : lines) / kLinesPerPage + 1; }
    /// The first laid-out line printed on page page (counted from 1).
    static int FirstLine(int page) { return (page - 1) * kLinesPerPage; }

    /// dpiX, dpiY: the printer's resolution; width, height: its printable area; charHeight
    /// and leading: the print font's character height (ascent plus descent) and external
    /// leading; all in device units.
    PrintLayout(double dpiX, double dpiY, double width, double height, double charHeight, double leading);

    double Left() const { return m_left; }
    /// Where the date and the page number end.
    double Right() const { return m_right; }
    /// The width a conversation line is wrapped to.
    double WrapWidth() const { return m_right - m_left; }
    double HeaderTop() const { return m_headerTop; }
    double PageNumberTop() const { return m_pageNumberTop; }
    /// The distance from one body line to the next.
    double LineHeight() const { return m_lineHeight; }
    /// Top of the body line index (0 to 49) of a page: the first one two line heights
    /// below the top of the header, as if a blank line followed the header.
    double BodyLineTop(int index) const { return m_headerTop + (index + 2) * m_lineHeight; }

private:
    double m_left;
    double m_right;
    double m_headerTop;
    double m_pageNumberTop;
    double m_lineHeight;
};

/// The print date and time of the header: "%4d/%2d/%2d" and " %H:%M:%S", e.g.
/// "2003/ 5/ 9 14:05:00".
std::string FormatPrintDate(const std::tm& tm);

}  // namespace nelo
