#include "desktop/QtMessageBox.h"

#include "app/RumoApp.h"
#include "desktop/QtText.h"

#include <QMessageBox>

MbAnswer CQtMessageBox::Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) {
    QMessageBox box(m_pParent);
    box.setWindowTitle(caption.empty() ? QString::fromLatin1(CRumoApp::kAppName) : ToQString(caption));
    box.setText(ToQString(text));
    switch (icon) {
    case MbIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MbIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MbIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MbIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MbIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case MbButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MbButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MbButtons::YesNo:
        // Every yes-or-no question asks before a file is replaced: Enter keeps it.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case MbButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MbAnswer::Yes;
    case QMessageBox::No: return MbAnswer::No;
    case QMessageBox::Ok: return MbAnswer::Ok;
    default:
        // Escape or the window's close button: the safe answer of each kind.
        if (buttons == MbButtons::Ok) return MbAnswer::Ok;
        if (buttons == MbButtons::YesNo) return MbAnswer::No;
        return MbAnswer::Cancel;
    }
}
