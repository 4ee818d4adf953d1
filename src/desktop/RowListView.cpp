#include "desktop/RowListView.h"

#include "desktop/QtText.h"
#include "models/RowList.h"

#include <QItemSelectionModel>

using namespace nelo;

RowListItemModel::RowListItemModel(const RowList& list, QObject* parent) : QAbstractListModel(parent), m_list(list) {
    m_rows = m_list.GetCount();
}

int RowListItemModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

QVariant RowListItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_list.GetCount()) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return ToQString(m_list.GetText(index.row()));
    return {};
}

void RowListItemModel::Reset() {
    beginResetModel();
    m_rows = m_list.GetCount();
    endResetModel();
}

void RowListItemModel::RowRemoved(int i) {
    if (i < 0 || i >= m_rows) return Reset();
    beginRemoveRows(QModelIndex(), i, i);
    m_rows = m_list.GetCount();
    endRemoveRows();
    if (m_rows != m_list.GetCount()) Reset();
}

RowListView::RowListView(RowList& list, const QString& name, QWidget* parent)
    : QListView(parent), m_list(list), m_model(list) {
    setAccessibleName(name);
    setModel(&m_model);
    // One line per row, all of one height: the view never measures rows it does not show.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { OnViewSelectionChanged(); });
}

void RowListView::OnViewSelectionChanged() {
    if (m_syncing) return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    m_list.SetCurSel(rows.isEmpty() ? -1 : rows.first().row());
    Q_EMIT SelectionChangedByUser();
}

void RowListView::Reload() {
    m_syncing = true;
    m_model.Reset();
    m_syncing = false;
    if (m_list.GetCount() > 0) scrollTo(m_model.index(m_list.GetTopIndex()), QAbstractItemView::PositionAtTop);
    ShowSelection();
}

void RowListView::RemoveRow(int i) {
    m_syncing = true;
    m_model.RowRemoved(i);
    m_syncing = false;
    ShowSelection();
}

void RowListView::ShowSelection() {
    m_syncing = true;
    const int selectedRow = m_list.GetCurSel();
    if (selectedRow < 0) {
        // No row is marked as current either: the view would draw it like a selection.
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex index = m_model.index(selectedRow);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    m_syncing = false;
}

void RowListView::focusInEvent(QFocusEvent* event) {
    // Taking the focus, the view makes its first row current, which looks selected
    // although the list has no selection (and 削除 would say so): the highlighted row
    // stays the selected one. The arrow keys still start at the first row.
    QListView::focusInEvent(event);
    if (m_list.GetCurSel() < 0 && currentIndex().isValid()) ShowSelection();
}
