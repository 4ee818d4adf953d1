#include "desktop/HelpWindow.h"

#include "desktop/DesktopIcons.h"

#include <QKeySequence>
#include <QShortcut>

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
    QUrl url(QStringLiteral("qrc:/help/help.html"));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (source() != url) setSource(url);
    if (!anchor.isEmpty()) scrollToAnchor(anchor);
    show();
    raise();
    activateWindow();
}
