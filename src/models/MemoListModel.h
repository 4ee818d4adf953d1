// The memo list ("メモ一覧"): every object of the notebook, the pairs of the shown
// object, search by name, deletion of an object or of one pair, and the CSV export.
// Changes act on the notebook's memo store at once, through the notebook, which sets its
// memo flag.
#pragma once

#include "models/RowList.h"
#include "memo/MemoCsvExport.h"

#include <functional>
#include <string>
#include <utility>

namespace nelo {

class Notebook;
class MessageBox;

class MemoListModel {
public:
    MemoListModel(Notebook& notebook, MessageBox& messageBox) : m_notebook(&notebook), m_messageBox(messageBox) {}

    /// Lists every object in the store's order and shows the first one's pairs.
    void FillRows();

    /// The search button: selects the row of name, the search field's text (the exact
    /// name, else the first row that matches with letter case ignored) and shows that
    /// row's pairs; without a matching row the pair lists are emptied.
    void OnSearch(const std::string& name);
    /// Selection change in the object list: shows the pairs of the selected object.
    void OnSelChangeObjects();
    /// Selection change in the names list: the values list follows.
    void OnSelChangeNames();
    /// Selection change in the values list: the names list follows.
    void OnSelChangeValues();
    /// "ｵﾌﾞｼﾞｪｸﾄ削除": deletes the selected object after a confirmation.
    void OnDeleteObject();
    /// "属性削除": deletes the selected pair of the shown object after a confirmation.
    void OnDeleteAttribute();
    /// "Excel出力": writes every memo to the CSV file in the current directory.
    void OnExport();

    /// Selects object row i and shows its pairs, as a click on the row does.
    void SelectObject(int i);
    /// Selects pair row i in both pair lists, as a click on the row does.
    void SelectPair(int i);

    /// The object names, the attribute names of the shown object and its values, row
    /// for row with the names. A view reads the rows and keeps the selection in them.
    const RowList& GetObjectList() const { return m_listObjects; }
    const RowList& GetNameList() const { return m_listNames; }
    const RowList& GetValueList() const { return m_listValues; }
    RowList& GetObjectList() { return m_listObjects; }
    RowList& GetNameList() { return m_listNames; }
    RowList& GetValueList() { return m_listValues; }

    /// Where the export writes (the current directory's file unless a front end or a
    /// test says else), in which encoding, and the file's name as the messages give it
    /// (code page 932; empty: the path, or "ＮＥＬＯメモ.csv" for the default file).
    void SetExportTarget(std::string path, CsvEncoding encoding = CsvEncoding::Cp932CrLf, std::string nameText = {}) {
        m_exportPath = std::move(path);
        m_exportEncoding = encoding;
        m_exportName = std::move(nameText);
    }
    /// The export replaces an existing file without asking.
    void SetExportOverwrite(bool overwrite) { m_exportOverwrite = overwrite; }

private:
    /// Fills the pair lists from the memo of object; false when there is none.
    bool ShowObject(const std::string& object);
    /// The row a search for object selects; -1 for none.
    int FindObjectRow(const std::string& object) const;
    void ClearPairs();

    RowList m_listObjects;
    RowList m_listNames;
    RowList m_listValues;
    std::string m_exportPath;
    CsvEncoding m_exportEncoding = CsvEncoding::Cp932CrLf;
    std::string m_exportName;
    bool m_exportOverwrite = false;
    Notebook* m_notebook;
    MessageBox& m_messageBox;
};

/// The notebook's memo command: runs the list on the notebook (interact plays the
/// user's part while it is open) and marks the notebook modified if a memo changed.
void RunMemoListCommand(Notebook& notebook, MessageBox& messageBox,
                        const std::function<void(MemoListModel&)>& interact);

}  // namespace nelo
