#include "desktop/HelpWindow.h"

#include "desktop/DesktopIcons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

namespace {

// An installed program shows the page installed beside it (<prefix>/bin/../share/nelo/),
// which a packager may have brought up to date; run from the build tree, it shows the copy
// built into the program.
QUrl HelpPageUrl() {
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/nelo/help.html"));
    if (QFileInfo(installed).isFile()) return QUrl::fromLocalFile(installed);
    return QUrl(QStringLiteral("qrc:/help/help.html"));
}

}  // namespace

CHelpWindow::CHelpWindow(QWidget* pParent) : QTextBrowser(pParent) {
    // A window of its own that closes with the notebook's window.
    setWindowFlags(Qt::Window);
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("ＮＥＬＯ ヘルプ"));
    setAccessibleName(QStringLiteral("ヘルプ"));
    setWindowIcon(AppIcon());
    setOpenExternalLinks(true);
    resize(620, 560);
    auto* pClose = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(pClose, &QShortcut::activated, this, &QWidget::close);
}

QRect CHelpWindow::PlaceBeside(const QSize& frameSize, const QRect& rcBeside, const QRect& screen) {
    const QSize size = frameSize.boundedTo(screen.size());
    int x = rcBeside.right() + 1;
    if (x + size.width() > screen.right() + 1) x = rcBeside.left() - size.width();
    if (x < screen.left()) x = rcBeside.left() + (rcBeside.width() - size.width()) / 2;
    x = std::clamp(x, screen.left(), screen.right() + 1 - size.width());
    const int y = std::clamp(rcBeside.top(), screen.top(), screen.bottom() + 1 - size.height());
    return QRect(QPoint(x, y), size);
}

void CHelpWindow::ShowAt(const QString& anchor, const QWidget* pBeside) {
    if (!isVisible() && pBeside && pBeside->screen()) {
        // The notebook window's decorations stand for the ones this window will get.
        const QRect frame = pBeside->frameGeometry();
        const QRect client = pBeside->geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                               frame.bottom() - client.bottom());
        const QRect rc = PlaceBeside(QSize(620, 560).grownBy(margins), frame, pBeside->screen()->availableGeometry());
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
