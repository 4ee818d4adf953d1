#include "desktop/QtMessageBox.h"

#include "app/NotebookSession.h"
#include "desktop/QtText.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStringList>

using namespace nelo;

namespace {

// A box shows at most this many lines; a longer text (the report of a calendar file
// read in) shows its beginning, and the whole text scrolls in the details.
constexpr int kMaxBoxLines = 12;

// Sets the text; true when it is long enough to read better in wider lines.
bool SetLongText(QMessageBox& box, const QString& text) {
    QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    if (lines.size() <= kMaxBoxLines) {
        box.setText(text);
        return lines.size() > 3;
    }
    box.setDetailedText(lines.join(QLatin1Char('\n')));
    lines = lines.mid(0, kMaxBoxLines);
    lines << QStringLiteral("…（続きは［詳細の表示］で）");
    box.setText(lines.join(QLatin1Char('\n')));
    return true;
}

// Widens the box (a report whose lines would wrap at every second word); done last,
// after the box has laid out its text, icon and buttons.
void Widen(QMessageBox& box) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(
            new QSpacerItem(box.fontMetrics().averageCharWidth() * 90, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
            grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

MbAnswer QtMessageBox::Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) {
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.empty() ? QString::fromLatin1(NotebookSession::kAppName) : ToQString(caption));
    const bool wide = SetLongText(box, ToQString(text));
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
    if (wide) Widen(box);
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
