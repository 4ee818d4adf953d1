#include "desktop/ListDialog.h"

#include "desktop/QtMessageBox.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

using namespace nelo;

ListDialog::ListDialog(MessageBox& messageBox, const QString& title, QWidget* parent)
    : QDialog(parent), m_messageBox(messageBox) {
    setWindowTitle(title);
    setAccessibleName(title);
    // A dialog unit is a quarter of the font's average Latin letter across and an eighth
    // of its line down; Japanese text takes the taller of the two lines.
    const QFontMetricsF fm(font());
    const QString latin = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_unitX = fm.horizontalAdvance(latin) / static_cast<qreal>(latin.size()) / 4.0;
    m_unitY = std::max(fm.height(), fm.boundingRect(QStringLiteral("漢あ")).height()) / 8.0;
    // The notices and confirmations belong to this dialog while it is open.
    if (auto* box = dynamic_cast<QtMessageBox*>(&m_messageBox)) {
        m_oldBoxParent = box->GetParent();
        box->SetParent(this);
    }
}

ListDialog::~ListDialog() {
    if (auto* box = dynamic_cast<QtMessageBox*>(&m_messageBox)) box->SetParent(m_oldBoxParent);
}

QRect ListDialog::DluRect(int x, int y, int cx, int cy) const {
    const auto px = [](int n, double unit) { return static_cast<int>(std::lround(n * unit)); };
    return QRect(px(x, m_unitX), px(y, m_unitY), px(cx, m_unitX), px(cy, m_unitY));
}

void ListDialog::SetDluSize(int cx, int cy) { setFixedSize(DluRect(0, 0, cx, cy).size()); }

void ListDialog::Place(QWidget* widget, int x, int y, int cx, int cy) const {
    widget->setGeometry(DluRect(x, y, cx, cy));
}

QPushButton* ListDialog::AddButton(const QString& text, const QString& objectName, int x, int y, int cx, int cy) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    Place(button, x, y, cx, cy);
    return button;
}

QLabel* ListDialog::AddLabel(const QString& text, const QString& objectName, int x, int y, int cx, int cy) {
    auto* label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setAccessibleName(text);
    Place(label, x, y, cx, cy);
    return label;
}

void ListDialog::EnableInputMethodOnlyIn(QWidget* field) {
    for (QWidget* child : findChildren<QWidget*>()) child->setAttribute(Qt::WA_InputMethodEnabled, child == field);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}
