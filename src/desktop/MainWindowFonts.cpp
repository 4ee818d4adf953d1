// One font for both panes, chosen from either and kept in the profile.
#include "desktop/MainWindow.h"

#include "app/NotebookSession.h"
#include "desktop/ConversationPane.h"
#include "desktop/FontDialog.h"
#include "desktop/FontMapping.h"
#include "desktop/InputPane.h"
#include "desktop/QtText.h"

#include <QPalette>

using namespace nelo;

void MainWindow::ApplySavedFont() {
    // The profile is read once, when the window is made: nothing else writes the font
    // while it is open, so every notebook opened afterwards gets the same.
    ApplyCharFormat(ReadSavedFont(m_session.GetProfile()));
}

void MainWindow::ApplyCharFormat(const CharFormat& cf) {
    m_font = cf;
    const QFont font = FontFromCharFormat(cf);
    const QColor colour = ColourFromCharFormat(cf);
    for (QWidget* pane : {static_cast<QWidget*>(m_conversation), static_cast<QWidget*>(m_input)}) {
        pane->setFont(font);
        QPalette palette;
        if (colour.isValid()) palette.setColor(QPalette::Text, colour);
        // The panes look the same while the window is busy (a text file being read).
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::Base})
            palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
        pane->setPalette(palette);
    }
}

void MainWindow::OnFont() {
    // The dialog belongs to the pane that has the focus; the choice goes to both.
    QWidget* from = focusWidget() == m_conversation ? static_cast<QWidget*>(m_conversation) : m_input;
    QFont current = FontFromCharFormat(m_font);
    // The dialog lists the installed families: it starts on the one the panes draw with.
    current.setFamily(ResolvedFamily(current));
    const bool automatic = (m_font.effects & EffectAutoColor) || !(m_font.mask & MaskColor);
    FontDialog dialog(current, automatic ? 0 : m_font.crTextColor, from);
    dialog.setObjectName(QStringLiteral("fontDialog"));
    dialog.setAccessibleName(QStringLiteral("フォントの変更"));
    if (dialog.exec() != QDialog::Accepted) return;

    CharFormat cf;
    const bool faceKept = !ChosenCharFormat(m_font, dialog.selectedFont(), cf, dialog.SelectedColour());
    ApplyCharFormat(cf);
    if (!WriteSavedFont(m_session.GetProfile(), cf))
        ShowNotice(QStringLiteral("フォントの設定を保存できませんでした。"));
    else if (faceKept)
        ShowNotice(QStringLiteral("「%1」はフォント名として保存できないため、%2 のままにしました。")
                       .arg(dialog.selectedFont().family(), ToQString(cf.faceName)));
}
