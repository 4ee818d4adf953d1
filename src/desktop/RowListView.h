// A list of the core's dialogs on the screen: a list view over the rows of a RowList,
// which keeps the rows and the selection. The view asks for the text of the rows it
// shows only, so a list of 100,000 rows opens as fast as a short one.
#pragma once

#include <QAbstractListModel>
#include <QListView>

namespace nelo {
class RowList;
}  // namespace nelo

class RowListItemModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit RowListItemModel(const nelo::RowList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    /// The list's rows were replaced.
    void Reset();
    /// The list lost row i.
    void RowRemoved(int i);

private:
    const nelo::RowList& m_list;
    // The rows the view was told about (the list may already hold fewer while it is told).
    int m_rows = 0;
};

class RowListView : public QListView {
    Q_OBJECT
public:
    RowListView(nelo::RowList& list, const QString& name, QWidget* parent = nullptr);

    nelo::RowList& GetList() { return m_list; }
    /// Shows the list's rows afresh, with its selection and its top row.
    void Reload();
    /// The list lost row i: the row goes, the other rows stay where they are.
    void RemoveRow(int i);
    /// Shows the list's selection (none, or one row scrolled into sight).
    void ShowSelection();

Q_SIGNALS:
    /// The user chose another row (or none); the list already holds the new selection.
    void SelectionChangedByUser();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void OnViewSelectionChanged();

    nelo::RowList& m_list;
    RowListItemModel m_model;
    bool m_syncing = false;
};
