#include "desktop/DesktopIcons.h"

#include <QFile>

// The resources live in a static library, where nothing else pulls them in. (Outside any
// namespace: the macro declares the resource's initialiser.)
static int InitDesktopResources() {
    Q_INIT_RESOURCE(desktop);
    return 0;
}

static void InitResources() {
    static const int nDone = InitDesktopResources();
    (void)nDone;
}

QIcon OwnIcon(const QString& name) {
    InitResources();
    QIcon icon;
    for (int size : {16, 32}) {
        const QString path = QStringLiteral(":/icons/png/%1-%2.png").arg(name).arg(size);
        if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
    }
    return icon;
}

QIcon ThemedIcon(const QString& name) { return QIcon::fromTheme(name, OwnIcon(name)); }

QIcon AppIcon() {
    InitResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/png/nelo-%1.png").arg(size), QSize(size, size));
    return icon;
}
