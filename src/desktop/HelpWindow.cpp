#include "desktop/HelpWindow.h"

#include "desktop/DesktopIcons.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace {

// An installed program shows the page installed with it (<prefix>/bin/../share/doc/nelo/),
// which a packager may have brought up to date; run from the build tree, or where the
// documentation was left out of the install (a system that excludes /usr/share/doc), it
// shows the copy built into the program.
QUrl HelpPageUrl() {
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/nelo/help.html"));
    if (QFileInfo(installed).isFile()) return QUrl::fromLocalFile(installed);
    return QUrl(QStringLiteral("qrc:/help/help.html"));
}

double Luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The page names no colour of its own, so that it reads on a dark desktop as on a light
// one: its examples take the palette's link colour where that stands out well enough
// from the background (a contrast of 4.5:1), else the text colour.
QString PaletteStyle(const QPalette& palette) {
    const double base = Luminance(palette.color(QPalette::Base));
    QColor example = palette.color(QPalette::Link);
    const double link = Luminance(example);
    if ((std::max(link, base) + 0.05) / (std::min(link, base) + 0.05) < 4.5) example = palette.color(QPalette::Text);
    return QStringLiteral(".ex { color: %1; }").arg(example.name());
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
    // A window of its own that closes with the notebook's window.
    setWindowFlags(Qt::Window);
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("ＮＥＬＯ ヘルプ"));
    setAccessibleName(QStringLiteral("ヘルプ"));
    setWindowIcon(AppIcon());
    setOpenExternalLinks(true);
    resize(620, 560);
    document()->setDefaultStyleSheet(PaletteStyle(palette()));
    auto* closeShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeShortcut, &QShortcut::activated, this, &QWidget::close);
}

QRect HelpWindow::PlaceBeside(const QSize& frameSize, const QRect& rcBeside, const QRect& screen) {
    const QSize size = frameSize.boundedTo(screen.size());
    int x = rcBeside.right() + 1;
    if (x + size.width() > screen.right() + 1) x = rcBeside.left() - size.width();
    if (x < screen.left()) x = rcBeside.left() + (rcBeside.width() - size.width()) / 2;
    x = std::clamp(x, screen.left(), screen.right() + 1 - size.width());
    const int y = std::clamp(rcBeside.top(), screen.top(), screen.bottom() + 1 - size.height());
    return QRect(QPoint(x, y), size);
}

void HelpWindow::ShowAt(const QString& anchor, const QWidget* beside) {
    if (!isVisible() && beside && beside->screen()) {
        // The notebook window's decorations stand for the ones this window will get.
        const QRect frame = beside->frameGeometry();
        const QRect client = beside->geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                               frame.bottom() - client.bottom());
        const QRect rc = PlaceBeside(QSize(620, 560).grownBy(margins), frame, beside->screen()->availableGeometry());
        resize(rc.size().shrunkBy(margins));
        move(rc.topLeft());
    }
    QUrl url = HelpPageUrl();
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (source() != url) setSource(url);
    if (!anchor.isEmpty()) scrollToAnchor(anchor);
    show();
    raise();
    activateWindow();
}

void HelpWindow::changeEvent(QEvent* event) {
    QTextBrowser::changeEvent(event);
    // The desktop changed its colours while the page is open (a switch to a dark theme).
    if (event->type() == QEvent::PaletteChange) {
        document()->setDefaultStyleSheet(PaletteStyle(palette()));
        if (!source().isEmpty()) reload();
    }
}
