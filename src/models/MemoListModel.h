// The memo list ("メモ一覧"): every object of the notebook, the pairs of the shown
// object, search by name, deletion of an object or of one pair, and the CSV export.
// Changes act on the document's memo store at once, through the document, which sets its
// memo flag.
#pragma once

#include "models/RowList.h"
#include "memo/MemoCsvExport.h"

#include <functional>
#include <string>

namespace nelo {

class Notebook;
class MessageBox;

class MemoListModel {
public:
    MemoListModel(Notebook& doc, MessageBox& messageBox) : m_notebook(&doc), m_messageBox(messageBox) {}

    /// Lists every object in the store's order and shows the first one's pairs.
    void OnInitDialog();

    /// The search button: selects the row of m_search (the exact name, else the first
    /// row that matches with letter case ignored) and shows that row's pairs; without a
    /// matching row the pair lists are emptied.
    void OnSearch();
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

    std::string m_search;   ///< the search field
    RowList m_listObjects;  ///< object names
    RowList m_listNames;    ///< attribute names of the shown object
    RowList m_listValues;   ///< attribute values, row for row with m_listNames

    /// Where the export writes (the current directory's file unless a front end or a
    /// test says else), in which encoding, and the file's name as the messages give it
    /// (code page 932; empty: the path, or "ＮＥＬＯメモ.csv" for the default file).
    std::string m_exportPath;
    CsvEncoding m_exportEncoding = CsvEncoding::Cp932CrLf;
    std::string m_exportName;
    /// The export replaces an existing file without asking.
    bool m_exportOverwrite = false;

private:
    /// Fills the pair lists from the memo of object; false when there is none.
    bool ShowObject(const std::string& object);
    /// The row a search for object selects; -1 for none.
    int FindObjectRow(const std::string& object) const;
    void ClearPairs();

    Notebook* m_notebook;
    MessageBox& m_messageBox;
};

/// The document's memo command: runs the list on the document (interact plays the
/// user's part while it is open) and marks the document modified if a memo changed.
void RunMemoListCommand(Notebook& doc, MessageBox& messageBox, const std::function<void(MemoListModel&)>& interact);

}  // namespace nelo
