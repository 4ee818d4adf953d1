// The file dialogs of the notebook (open, save as) and of the text-file input: Qt's own
// dialogs, the same on every desktop, with the program's filter texts; and the entries
// of the recent-file menu.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>

namespace nelo {
class Profile;
}  // namespace nelo
class QWidget;

/// Gives every file dialog of the program (notebook, text file, calendar and CSV files)
/// a size to show the paths in at its first opening, and the size the user left the
/// last one at afterwards (kept in the profile's "Settings", "FileDialogSize" as
/// "width height"). One for the program, installed on the application.
class FileDialogSize : public QObject {
public:
    explicit FileDialogSize(nelo::Profile& profile, QObject* parent = nullptr);
    ~FileDialogSize() override;

    /// The size of the first file dialog: wide enough for a path, not beyond the screen.
    static QSize DefaultSize();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    nelo::Profile& m_profile;
};

/// Asks for a notebook to open, starting in folder; empty when cancelled.
QString AskNotebookToOpen(QWidget* parent, const QString& folder);
/// Asks for the name to save the notebook under, offering suggested (a path or a file
/// name); ".nel" is added to a name without an extension. Empty when cancelled.
QString AskNotebookToSave(QWidget* parent, const QString& suggested);
/// Asks for a text file to read into the conversation, starting in folder; empty when
/// cancelled.
QString AskTextFileToRead(QWidget* parent, const QString& folder);

/// The text of entry index (from 0) of the recent-file menu: its number as the
/// mnemonic, then the path ("&1 /home/user/memo.nel"), an "&" in it shown as itself.
QString RecentFileMenuText(int index, const QString& path);
