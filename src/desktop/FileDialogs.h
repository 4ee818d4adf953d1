// The file dialogs of the notebook (open, save as) and of the text-file input: Qt's own
// dialogs, the same on every desktop, with the program's filter texts; and the entries
// of the recent-file menu.
#pragma once

#include <QString>

class QWidget;

/// Asks for a notebook to open, starting in folder; empty when cancelled.
QString AskNotebookToOpen(QWidget* pParent, const QString& folder);
/// Asks for the name to save the notebook under, offering suggested (a path or a file
/// name); ".nel" is added to a name without an extension. Empty when cancelled.
QString AskNotebookToSave(QWidget* pParent, const QString& suggested);
/// Asks for a text file to read into the conversation, starting in folder; empty when
/// cancelled.
QString AskTextFileToRead(QWidget* pParent, const QString& folder);

/// The text of entry nIndex (from 0) of the recent-file menu: its number as the
/// mnemonic, then the path ("&1 /home/user/memo.nel"), an "&" in it shown as itself.
QString RecentFileMenuText(int nIndex, const QString& path);
