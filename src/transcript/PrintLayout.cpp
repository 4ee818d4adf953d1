#include "transcript/PrintLayout.h"

#include <algorithm>
#include <cstdio>

namespace nelo {

PrintLayout::PrintLayout(double dpiX, double dpiY, double width, double height, double charHeight, double leading) {
    auto x = [dpiX](int twips) { return twips * dpiX / kTwipsPerInch; };
    auto y = [dpiY](int twips) { return twips * dpiY / kTwipsPerInch; };
    m_left = x(kLeftTwips);
    m_headerTop = y(kHeaderTopTwips);
    // A printable area narrower than 7.5 inches or shorter than the page number's line
    // (small paper, wide hardware margins) moves the right edge and the page number in,
    // so nothing is cut off.
    m_right = std::max(m_left + 1, std::min(x(kRightTwips), width));
    m_pageNumberTop = std::max(m_headerTop, std::min(y(kPageNumberTopTwips), height - charHeight));
    // The font's own line height (character height plus external leading) unless 50
    // lines at that height would reach the page number: then the lines close up just
    // enough that the 50th ends a quarter of a character height above it.
    double gap = charHeight / 4;
    double fit = (m_pageNumberTop - gap - charHeight - m_headerTop) / (kLinesPerPage + 1);
    m_lineHeight = std::max(1.0, std::min(charHeight + std::max(0.0, leading), fit));
}

std::string FormatPrintDate(const std::tm& tm) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d/%2d/%2d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

}  // namespace nelo
