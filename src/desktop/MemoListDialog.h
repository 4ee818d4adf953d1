// The memo list on the screen: the search field, the objects, and the names and values
// of the shown object side by side, row for row (one selection, one scroll position);
// deletion of an object or a pair, and 「Excel出力」 to a file the user chooses. The
// rows, the search, the deletions and the file's contents are the core's MemoListModel.
#pragma once

#include "desktop/ListDialog.h"

class RowListView;
namespace nelo {
class MemoListModel;
}  // namespace nelo
class QLineEdit;

class MemoListDialog : public ListDialog {
    Q_OBJECT
public:
    /// exportFolder: where the export proposes its file (the notebook's folder).
    MemoListDialog(nelo::MemoListModel& dlg, nelo::MessageBox& messageBox, const QString& exportFolder,
                   QWidget* parent);

    /// The export dialog's two file types: code page 932 with CR LF, and UTF-8.
    static QStringList ExportFileTypes();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSearch();
    void OnObjectChosen();
    void OnDeleteObject();
    void OnDeleteAttribute();
    void OnExport();
    /// The pair lists afresh from the core's rows.
    void ReloadPairs();

    nelo::MemoListModel& m_dlg;
    QString m_exportFolder;
    QLineEdit* m_searchField = nullptr;
    RowListView* m_objects = nullptr;
    RowListView* m_names = nullptr;
    RowListView* m_values = nullptr;
};
