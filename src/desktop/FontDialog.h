// The font dialog of both panes: Qt's own font dialog with what the notebook's font
// holds besides face, size and effects, its colour (a choice of the sixteen standard
// colours beside the effects), and a sample in Japanese.
#pragma once

#include <QColor>
#include <QFontDialog>
#include <cstdint>

class QComboBox;
class QLineEdit;

class FontDialog : public QFontDialog {
    Q_OBJECT
public:
    /// crColour: the current colour as the profile keeps it (0x00BBGGRR; 0 is the
    /// automatic colour, the theme's text colour).
    FontDialog(const QFont& font, std::uint32_t crColour, QWidget* parent = nullptr);

    /// The colour chosen, as the profile keeps it.
    std::uint32_t SelectedColour() const;

    /// The sample text: kana, kanji, half-width kana and Latin.
    static QString SampleText();

private:
    void ShowSampleColour();

    QComboBox* m_colour = nullptr;
    QLineEdit* m_sample = nullptr;
};
