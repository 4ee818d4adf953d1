#include "desktop/FileDialogs.h"

#include "app/RecentFileList.h"
#include "desktop/QtText.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QScreen>
#include <algorithm>
#include <cstdio>

using namespace nelo;

namespace {

const QString kNotebookFilter = QStringLiteral("ＮＥＬＯFiles(*.nel)");
const QString kTextFilter = QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ (*.txt)");
const QString kAllFilesFilter = QStringLiteral("すべてのﾌｧｲﾙ (*.*)");

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kSizeEntry = "FileDialogSize";
// Set on a dialog once it was given its size.
constexpr const char* kSizedProperty = "neloSized";

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
        if (auto* model = dlg.findChild<QFileSystemModel*>()) model->setNameFilters({});
    });
}

QString Run(QFileDialog& dlg) {
    if (dlg.exec() != QDialog::Accepted) return QString();
    const QStringList files = dlg.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

}  // namespace

QString AskNotebookToOpen(QWidget* parent, const QString& folder) {
    QFileDialog dlg(parent, QStringLiteral("開く"), folder);
    Prepare(dlg, QStringLiteral("openNotebookDialog"), {kNotebookFilter, kAllFilesFilter});
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    return Run(dlg);
}

QString AskNotebookToSave(QWidget* parent, const QString& suggested) {
    QFileDialog dlg(parent, QStringLiteral("名前を付けて保存"));
    Prepare(dlg, QStringLiteral("saveNotebookDialog"), {kNotebookFilter, kAllFilesFilter});
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(QStringLiteral("nel"));
    dlg.selectFile(suggested);
    QString path = Run(dlg);
    if (path.isEmpty()) return path;
    return PathToQString(WithNotebookExtension(PathFromQString(path)));
}

QString AskTextFileToRead(QWidget* parent, const QString& folder) {
    QFileDialog dlg(parent, QStringLiteral("テキスト読込み"), folder);
    Prepare(dlg, QStringLiteral("readTextFileDialog"), {kTextFilter, kAllFilesFilter});
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QStringLiteral("txt"));
    return Run(dlg);
}

QString RecentFileMenuText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

FileDialogSize::FileDialogSize(Profile& profile, QObject* parent) : QObject(parent), m_profile(profile) {
    qApp->installEventFilter(this);
}

FileDialogSize::~FileDialogSize() { qApp->removeEventFilter(this); }

QSize FileDialogSize::DefaultSize() { return QSize(760, 500); }

bool FileDialogSize::eventFilter(QObject* object, QEvent* event) {
    auto* dialog = qobject_cast<QFileDialog*>(object);
    if (!dialog || (event->type() != QEvent::Show && event->type() != QEvent::Hide)) return false;
    if (event->type() == QEvent::Hide) {
        if (!dialog->property(kSizedProperty).toBool()) return false;
        const QSize size = dialog->size();
        char text[32];
        std::snprintf(text, sizeof text, "%d %d", size.width(), size.height());
        if (m_profile.GetProfileString(kSettingsSection, kSizeEntry) != text)
            m_profile.WriteProfileString(kSettingsSection, kSizeEntry, text);
        return false;
    }
    if (dialog->property(kSizedProperty).toBool()) return false;
    dialog->setProperty(kSizedProperty, true);
    QSize size = DefaultSize();
    int w = 0, h = 0;
    if (std::sscanf(m_profile.GetProfileString(kSettingsSection, kSizeEntry).c_str(), "%d %d", &w, &h) == 2 && w > 0 &&
        h > 0)
        size = QSize(w, h);
    // Whole on the screen of the window it belongs to, over the middle of that window.
    const QWidget* over = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    const QScreen* targetScreen = over ? over->screen() : dialog->screen();
    const QRect screen = targetScreen ? targetScreen->availableGeometry() : QRect(QPoint(0, 0), size);
    size = size.expandedTo(dialog->minimumSizeHint()).boundedTo(screen.size() * 9 / 10);
    dialog->resize(size);
    const QPoint centre = over ? over->frameGeometry().center() : screen.center();
    const QSize frame = dialog->frameGeometry().size().expandedTo(size);
    const int x = std::clamp(centre.x() - frame.width() / 2, screen.left(), screen.right() + 1 - frame.width());
    const int y = std::clamp(centre.y() - frame.height() / 2, screen.top(), screen.bottom() + 1 - frame.height());
    dialog->move(x, y);
    return false;
}
