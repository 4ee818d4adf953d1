// Prints the conversation: on every page a header with the program's name and the
// time of printing, 50 lines of the conversation, and the page number at the bottom
// right, all in 14-point Mincho. The lines are the pane's lines wrapped at the width
// they have on paper; each wrapped row counts as one line and keeps all its text.
#pragma once

#include "transcript/PrintLayout.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <ctime>
#include <optional>

class QPrinter;
class QTextDocument;

class ConversationPrinter {
public:
    /// lines: the conversation pane's lines (its paragraphs, without line breaks).
    explicit ConversationPrinter(QStringList lines);

    /// The pane's lines, the empty one after the last line break included (it is a line
    /// of the pane as well).
    static QStringList LinesOf(const QTextDocument& document);
    /// 14-point "ＭＳ 明朝" where it is installed, otherwise IPAMincho or another
    /// Japanese serif face, a fixed-pitch one where there is one.
    static QFont PrintFont();
    /// "ＮＥＬＯ Ver1.00".
    static QString HeaderText();
    /// "%d 頁".
    static QString PageNumberText(int pageNumber);

    /// The paper of the printer's own choice, A4 when it names none (PDF output).
    static void UseDefaultPaper(QPrinter& printer);

    /// Wraps the lines for the printer's paper and font; PageCount() and Rows() then
    /// tell the result.
    void Layout(QPrinter& printer);
    int PageCount() const { return nelo::PrintLayout::PageCount(static_cast<int>(m_rows.size())); }
    const QStringList& Rows() const { return m_rows; }
    const nelo::PrintLayout& PageLayout() const { return *m_layout; }

    /// Lays out and prints the pages the printer asks for (all, or its page range),
    /// dated when. False when the printer could not be started (a file that cannot be
    /// written, a printer that went away).
    bool Print(QPrinter& printer, const std::tm& when);

private:
    QStringList m_lines;
    QStringList m_rows;
    QFont m_font;
    std::optional<nelo::PrintLayout> m_layout;
};
