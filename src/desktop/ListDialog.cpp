#include "desktop/ListDialog.h"

#include "desktop/QtMessageBox.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

using namespace nelo;

ListDialog::ListDialog(MessageBox& messageBox, const QString& title, QWidget* pParent)
    : QDialog(pParent), m_messageBox(messageBox) {
    setWindowTitle(title);
    setAccessibleName(title);
    // A dialog unit is a quarter of the font's average Latin letter across and an eighth
    // of its line down; Japanese text takes the taller of the two lines.
    const QFontMetricsF fm(font());
    const QString latin = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_unitX = fm.horizontalAdvance(latin) / latin.size() / 4.0;
    m_unitY = std::max(fm.height(), fm.boundingRect(QStringLiteral("漢あ")).height()) / 8.0;
    // The notices and confirmations belong to this dialog while it is open.
    if (auto* pBox = dynamic_cast<QtMessageBox*>(&m_messageBox)) {
        m_oldBoxParent = pBox->GetParent();
        pBox->SetParent(this);
    }
}

ListDialog::~ListDialog() {
    if (auto* pBox = dynamic_cast<QtMessageBox*>(&m_messageBox)) pBox->SetParent(m_oldBoxParent);
}

QRect ListDialog::DluRect(int x, int y, int cx, int cy) const {
    const auto px = [](int n, double unit) { return static_cast<int>(std::lround(n * unit)); };
    return QRect(px(x, m_unitX), px(y, m_unitY), px(cx, m_unitX), px(cy, m_unitY));
}

void ListDialog::SetDluSize(int cx, int cy) { setFixedSize(DluRect(0, 0, cx, cy).size()); }

void ListDialog::Place(QWidget* pWidget, int x, int y, int cx, int cy) const {
    pWidget->setGeometry(DluRect(x, y, cx, cy));
}

QPushButton* ListDialog::AddButton(const QString& text, const QString& objectName, int x, int y, int cx, int cy) {
    auto* pButton = new QPushButton(text, this);
    pButton->setObjectName(objectName);
    pButton->setAccessibleName(text);
    pButton->setAutoDefault(false);
    Place(pButton, x, y, cx, cy);
    return pButton;
}

QLabel* ListDialog::AddLabel(const QString& text, const QString& objectName, int x, int y, int cx, int cy) {
    auto* pLabel = new QLabel(text, this);
    pLabel->setObjectName(objectName);
    pLabel->setAccessibleName(text);
    Place(pLabel, x, y, cx, cy);
    return pLabel;
}

void ListDialog::EnableInputMethodOnlyIn(QWidget* pField) {
    for (QWidget* pChild : findChildren<QWidget*>()) pChild->setAttribute(Qt::WA_InputMethodEnabled, pChild == pField);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}
