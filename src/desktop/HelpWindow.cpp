#include "desktop/HelpWindow.h"

#include "desktop/DesktopIcons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>

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

void CHelpWindow::ShowAt(const QString& anchor) {
    QUrl url = HelpPageUrl();
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (source() != url) setSource(url);
    if (!anchor.isEmpty()) scrollToAnchor(anchor);
    show();
    raise();
    activateWindow();
}
