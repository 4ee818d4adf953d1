#include "desktop/ConversationPrinter.h"

#include "app/NotebookSession.h"
#include "desktop/FontMapping.h"
#include "desktop/QtText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <utility>

using namespace nelo;

ConversationPrinter::ConversationPrinter(QStringList lines) : m_lines(std::move(lines)), m_font(PrintFont()) {}

QStringList ConversationPrinter::LinesOf(const QTextDocument& document) {
    QStringList lines;
    lines.reserve(document.blockCount());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) lines.append(block.text());
    return lines;
}

QFont ConversationPrinter::PrintFont() {
    // Where "ＭＳ 明朝" itself is missing, a fixed-pitch Mincho stands in for it: the
    // proportional faces would set the page's columns unevenly.
    static const QString kSubstitute = FixedPitchMincho();
    QFont font;
    QStringList families{QStringLiteral("ＭＳ 明朝"), QStringLiteral("MS Mincho")};
    if (!kSubstitute.isEmpty()) families.append(kSubstitute);
    font.setFamilies(families);
    font.setStyleHint(QFont::Serif);
    font.setPointSize(14);
    font.setWeight(QFont::Normal);
    return font;
}

QString ConversationPrinter::HeaderText() {
    return QStringLiteral("ＮＥＬＯ Ver") + QLatin1String(NotebookSession::kVersion);
}

QString ConversationPrinter::PageNumberText(int pageNumber) { return QStringLiteral("%1 頁").arg(pageNumber); }

void ConversationPrinter::UseDefaultPaper(QPrinter& printer) {
    QPageSize paper;
    if (printer.outputFormat() == QPrinter::NativeFormat) paper = QPrinterInfo(printer).defaultPageSize();
    printer.setPageSize(paper.isValid() ? paper : QPageSize(QPageSize::A4));
}

void ConversationPrinter::Layout(QPrinter& printer) {
    QFontMetricsF metrics(m_font, &printer);
    QRectF area = printer.pageRect(QPrinter::DevicePixel);
    m_layout.emplace(printer.logicalDpiX(), printer.logicalDpiY(), area.width(), area.height(),
                     metrics.ascent() + metrics.descent(), metrics.leading());

    // The pane's lines wrapped as the pane wraps them (at a word boundary, or anywhere
    // in a word too long for the line), but at the width of the paper.
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const double width = m_layout->WrapWidth();
    m_rows.clear();
    m_rows.reserve(m_lines.size());
    for (const QString& line : m_lines) {
        if (line.isEmpty() || metrics.horizontalAdvance(line) <= width) {
            m_rows.append(line);
            continue;
        }
        QTextLayout layout(line, m_font, &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
            row.setLineWidth(width);
            m_rows.append(line.mid(row.textStart(), row.textLength()));
        }
        layout.endLayout();
    }
}

bool ConversationPrinter::Print(QPrinter& printer, const std::tm& when) {
    Layout(printer);
    const int pages = PageCount();
    int from = 1;
    int to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(pages, std::max(from, printer.toPage()));
        if (from > pages) return true;
    }

    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setFont(m_font);
    QFontMetricsF metrics(m_font, &printer);
    const double ascent = metrics.ascent();
    const PrintLayout& page = *m_layout;
    const QString header = HeaderText();
    const QString date = ToQString(FormatPrintDate(when));
    const double dateLeft = page.Right() - metrics.horizontalAdvance(date);
    const int rows = static_cast<int>(m_rows.size());

    for (int pageNumber = from; pageNumber <= to; ++pageNumber) {
        if (pageNumber > from && !printer.newPage()) return false;
        painter.drawText(QPointF(page.Left(), page.HeaderTop() + ascent), header);
        painter.drawText(QPointF(dateLeft, page.HeaderTop() + ascent), date);
        const int first = PrintLayout::FirstLine(pageNumber);
        const int end = std::min(rows, first + PrintLayout::kLinesPerPage);
        for (int i = first; i < end; ++i) {
            painter.drawText(QPointF(page.Left(), page.BodyLineTop(i - first) + ascent), m_rows[i]);
        }
        const QString number = PageNumberText(pageNumber);
        painter.drawText(QPointF(page.Right() - metrics.horizontalAdvance(number), page.PageNumberTop() + ascent),
                         number);
    }
    return painter.end();
}
