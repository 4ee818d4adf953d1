#include "desktop/MemoListDialog.h"

#include "desktop/RowListView.h"
#include "desktop/QtText.h"
#include "models/MemoListModel.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace nelo;

MemoListDialog::MemoListDialog(MemoListModel& dlg, MessageBox& messageBox, const QString& exportFolder, QWidget* parent)
    : ListDialog(messageBox, QStringLiteral("メモ一覧"), parent), m_dlg(dlg), m_exportFolder(exportFolder) {
    setObjectName(QStringLiteral("memoListDialog"));
    SetDluSize(330, 200);
    const QString objectText = QStringLiteral("オブジェクト名");
    QLabel* searchLabel = AddLabel(objectText, QStringLiteral("searchLabel"), 7, 7, 110, 9);
    m_searchField = new QLineEdit(this);
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setAccessibleName(objectText);
    Place(m_searchField, 7, 17, 110, 13);
    searchLabel->setBuddy(m_searchField);
    QPushButton* search = AddButton(QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ検索"), QStringLiteral("searchButton"), 122, 16, 62, 14);
    QPushButton* ok = AddButton(QStringLiteral("OK"), QStringLiteral("okButton"), 273, 16, 50, 14);
    ok->setDefault(true);

    QLabel* objectsLabel = AddLabel(objectText, QStringLiteral("objectsLabel"), 7, 38, 110, 9);
    m_objects = new RowListView(m_dlg.GetObjectList(), objectText, this);
    m_objects->setObjectName(QStringLiteral("objectList"));
    Place(m_objects, 7, 48, 110, 126);
    objectsLabel->setBuddy(m_objects);
    QPushButton* deleteObject =
        AddButton(QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ削除"), QStringLiteral("deleteObjectButton"), 7, 179, 62, 14);

    QLabel* namesLabel = AddLabel(QStringLiteral("属性名"), QStringLiteral("namesLabel"), 124, 38, 90, 9);
    m_names = new RowListView(m_dlg.GetNameList(), QStringLiteral("属性名"), this);
    m_names->setObjectName(QStringLiteral("nameList"));
    Place(m_names, 124, 48, 90, 126);
    namesLabel->setBuddy(m_names);
    QLabel* valuesLabel = AddLabel(QStringLiteral("属性値"), QStringLiteral("valuesLabel"), 218, 38, 105, 9);
    m_values = new RowListView(m_dlg.GetValueList(), QStringLiteral("属性値"), this);
    m_values->setObjectName(QStringLiteral("valueList"));
    Place(m_values, 218, 48, 105, 126);
    valuesLabel->setBuddy(m_values);
    QPushButton* deletePair =
        AddButton(QStringLiteral("属性削除"), QStringLiteral("deletePairButton"), 124, 179, 62, 14);
    QPushButton* exportButton =
        AddButton(QStringLiteral("Excel出力"), QStringLiteral("exportButton"), 191, 179, 62, 14);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(search, &QPushButton::clicked, this, [this] { OnSearch(); });
    connect(deleteObject, &QPushButton::clicked, this, [this] { OnDeleteObject(); });
    connect(deletePair, &QPushButton::clicked, this, [this] { OnDeleteAttribute(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { OnExport(); });
    connect(m_objects, &RowListView::SelectionChangedByUser, this, [this] { OnObjectChosen(); });
    connect(m_names, &RowListView::SelectionChangedByUser, this, [this] {
        m_dlg.OnSelChangeNames();
        m_values->ShowSelection();
    });
    connect(m_values, &RowListView::SelectionChangedByUser, this, [this] {
        m_dlg.OnSelChangeValues();
        m_names->ShowSelection();
    });
    // The names and the values scroll together, so a row's name stays beside its value.
    QScrollBar* namesBar = m_names->verticalScrollBar();
    QScrollBar* valuesBar = m_values->verticalScrollBar();
    connect(namesBar, &QScrollBar::valueChanged, valuesBar, &QScrollBar::setValue);
    connect(valuesBar, &QScrollBar::valueChanged, namesBar, &QScrollBar::setValue);
    // Enter in the search field searches instead of closing the dialog.
    m_searchField->installEventFilter(this);
    EnableInputMethodOnlyIn(m_searchField);

    m_objects->Reload();
    ReloadPairs();
    m_searchField->setFocus();
}

QStringList MemoListDialog::ExportFileTypes() {
    return {QStringLiteral("CSV シフトJIS、CR LF (*.csv)"), QStringLiteral("CSV UTF-8 (*.csv)")};
}

bool MemoListDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_searchField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnSearch();
            return true;
        }
    }
    return ListDialog::eventFilter(watched, event);
}

void MemoListDialog::ReloadPairs() {
    m_names->Reload();
    m_values->Reload();
}

void MemoListDialog::OnSearch() {
    m_dlg.OnSearch(ToCp932(m_searchField->text()));
    m_objects->ShowSelection();
    ReloadPairs();
}

void MemoListDialog::OnObjectChosen() {
    m_dlg.OnSelChangeObjects();
    ReloadPairs();
}

void MemoListDialog::OnDeleteObject() {
    const int selectedRow = m_dlg.GetObjectList().GetCurSel();
    const int before = m_dlg.GetObjectList().GetCount();
    m_dlg.OnDeleteObject();
    if (m_dlg.GetObjectList().GetCount() < before) {
        m_objects->RemoveRow(selectedRow);
        ReloadPairs();
    }
}

void MemoListDialog::OnDeleteAttribute() {
    const int row = m_dlg.GetNameList().GetCurSel();
    const int before = m_dlg.GetNameList().GetCount();
    m_dlg.OnDeleteAttribute();
    if (m_dlg.GetNameList().GetCount() < before) {
        m_names->RemoveRow(row);
        m_values->RemoveRow(row);
    }
}

void MemoListDialog::OnExport() {
    const QStringList types = ExportFileTypes();
    QFileDialog fileDialog(this, QStringLiteral("Excel出力"));
    fileDialog.setObjectName(QStringLiteral("memoExportDialog"));
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setFileMode(QFileDialog::AnyFile);
    // The export asks its own question before it overwrites a file.
    fileDialog.setOption(QFileDialog::DontConfirmOverwrite);
    fileDialog.setNameFilters(types);
    fileDialog.selectNameFilter(types[0]);
    fileDialog.setDefaultSuffix(QStringLiteral("csv"));
    fileDialog.setDirectory(m_exportFolder);
    fileDialog.selectFile(QDir(m_exportFolder).filePath(QString::fromUtf8(kMemoCsvFileName)));
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return;
    const QString path = fileDialog.selectedFiles().first();
    m_dlg.SetExportTarget(PathFromQString(path),
                          fileDialog.selectedNameFilter() == types[1] ? CsvEncoding::Utf8Lf : CsvEncoding::Cp932CrLf,
                          ToCp932(QFileInfo(path).fileName()));
    m_dlg.OnExport();
}
