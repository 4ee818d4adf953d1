// The memo list on the screen: the search field, the objects, and the names and values
// of the shown object side by side, row for row (one selection, one scroll position);
// deletion of an object or a pair, and 「Excel出力」 to a file the user chooses. The
// rows, the search, the deletions and the file's contents are the core's CMemoListDlg.
#pragma once

#include "desktop/ListDialog.h"

class CListBoxView;
class CMemoListDlg;
class QLineEdit;

class CMemoListDialog : public CListDialog {
    Q_OBJECT
public:
    /// exportFolder: where the export proposes its file (the notebook's folder).
    CMemoListDialog(CMemoListDlg& dlg, IMessageBox& messageBox, const QString& exportFolder, QWidget* pParent);

    QLineEdit* GetSearchField() const { return m_pSearch; }
    CListBoxView* GetObjects() const { return m_pObjects; }
    CListBoxView* GetNames() const { return m_pNames; }
    CListBoxView* GetValues() const { return m_pValues; }

    /// The export dialog's two file types: code page 932 with CR LF, and UTF-8.
    static QStringList ExportFileTypes();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void OnSearch();
    void OnObjectChosen();
    void OnDeleteObject();
    void OnDeleteAttribute();
    void OnExport();
    /// The pair lists afresh from the core's rows.
    void ReloadPairs();

    CMemoListDlg& m_dlg;
    QString m_exportFolder;
    QLineEdit* m_pSearch = nullptr;
    CListBoxView* m_pObjects = nullptr;
    CListBoxView* m_pNames = nullptr;
    CListBoxView* m_pValues = nullptr;
};
