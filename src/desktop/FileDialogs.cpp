#include "desktop/FileDialogs.h"

#include "app/RecentFileList.h"
#include "desktop/QtText.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>

namespace {

const QString kNotebookFilter = QStringLiteral("ＮＥＬＯFiles(*.nel)");
const QString kTextFilter = QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ (*.txt)");
const QString kAllFilesFilter = QStringLiteral("すべてのﾌｧｲﾙ (*.*)");

/// A dialog with the given filters (the last one all files), Qt's own on every desktop.
void Prepare(QFileDialog& dlg, const QString& objectName, const QStringList& filters) {
    dlg.setObjectName(objectName);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(filters.front());
    // "*.*" would hide the names without a dot, which are common here: the all-files
    // filter shows every file, as its text promises.
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString& filter) {
        if (filter != kAllFilesFilter) return;
        if (auto* pModel = dlg.findChild<QFileSystemModel*>()) pModel->setNameFilters({});
    });
}

QString Run(QFileDialog& dlg) {
    if (dlg.exec() != QDialog::Accepted) return QString();
    const QStringList files = dlg.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

}  // namespace

QString AskNotebookToOpen(QWidget* pParent, const QString& folder) {
    QFileDialog dlg(pParent, QStringLiteral("開く"), folder);
    Prepare(dlg, QStringLiteral("openNotebookDialog"), {kNotebookFilter, kAllFilesFilter});
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    return Run(dlg);
}

QString AskNotebookToSave(QWidget* pParent, const QString& suggested) {
    QFileDialog dlg(pParent, QStringLiteral("名前を付けて保存"));
    Prepare(dlg, QStringLiteral("saveNotebookDialog"), {kNotebookFilter, kAllFilesFilter});
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(QStringLiteral("nel"));
    dlg.selectFile(suggested);
    const QString path = Run(dlg);
    if (path.isEmpty()) return path;
    return PathToQString(WithNotebookExtension(PathFromQString(path)));
}

QString AskTextFileToRead(QWidget* pParent, const QString& folder) {
    QFileDialog dlg(pParent, QStringLiteral("テキスト読込み"), folder);
    Prepare(dlg, QStringLiteral("readTextFileDialog"), {kTextFilter, kAllFilesFilter});
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QStringLiteral("txt"));
    return Run(dlg);
}

QString RecentFileMenuText(int nIndex, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(nIndex + 1).arg(shown);
}
