#include "desktop/VariablesDialog.h"

#include "desktop/RowListView.h"
#include "models/VariableListModel.h"

#include <QPushButton>

using namespace nelo;

VariablesDialog::VariablesDialog(VariableListModel& dlg, MessageBox& messageBox, QWidget* parent)
    : ListDialog(messageBox, QStringLiteral("登録されている変数"), parent), m_dlg(dlg) {
    setObjectName(QStringLiteral("variablesDialog"));
    SetDluSize(223, 115);
    m_listView = new RowListView(m_dlg.GetList(), QStringLiteral("登録されている変数"), this);
    m_listView->setObjectName(QStringLiteral("variablesList"));
    Place(m_listView, 5, 5, 150, 100);
    QPushButton* ok = AddButton(QStringLiteral("OK"), QStringLiteral("okButton"), 165, 5, 50, 20);
    ok->setDefault(true);
    QPushButton* deleteButton = AddButton(QStringLiteral("削除"), QStringLiteral("deleteButton"), 165, 40, 50, 20);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(deleteButton, &QPushButton::clicked, this, [this] { OnDelete(); });
    EnableInputMethodOnlyIn(nullptr);
    m_listView->Reload();
    m_listView->setFocus();
}

void VariablesDialog::OnDelete() {
    const int selectedRow = m_dlg.GetList().GetCurSel();
    const int before = m_dlg.GetList().GetCount();
    m_dlg.OnDelete();
    if (m_dlg.GetList().GetCount() < before)
        m_listView->RemoveRow(selectedRow);
    else
        m_listView->ShowSelection();
}
