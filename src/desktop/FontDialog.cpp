#include "desktop/FontDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace {

struct Colour {
    const char* name;
    std::uint32_t cr;  // 0x00BBGGRR
};

// The sixteen colours of the standard font dialog; black is the automatic colour, which
// is black on a light theme and stays readable on a dark one.
const Colour kColours[] = {
    {"自動（黒）", 0x000000}, {"茶", 0x000080},   {"緑", 0x008000},   {"オリーブ", 0x008080},
    {"紺", 0x800000},         {"紫", 0x800080},   {"青緑", 0x808000}, {"灰色", 0x808080},
    {"銀", 0xC0C0C0},         {"赤", 0x0000FF},   {"黄緑", 0x00FF00}, {"黄", 0x00FFFF},
    {"青", 0xFF0000},         {"赤紫", 0xFF00FF}, {"水", 0xFFFF00},   {"白", 0xFFFFFF},
};

QColor FromColorRef(std::uint32_t cr) { return QColor(int(cr & 0xFF), int((cr >> 8) & 0xFF), int((cr >> 16) & 0xFF)); }

QIcon Swatch(const QColor& colour, const QColor& border) {
    QPixmap pixmap(16, 12);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(border);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

}  // namespace

QString FontDialog::SampleText() { return QStringLiteral("あア亜ｱ Aa"); }

FontDialog::FontDialog(const QFont& font, std::uint32_t crColour, QWidget* parent) : QFontDialog(font, parent) {
    setOption(QFontDialog::DontUseNativeDialog);
    m_sample = findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"));
    if (m_sample) {
        m_sample->setText(SampleText());
        m_sample->setAccessibleName(QStringLiteral("サンプル"));
    }

    // The colour goes with the effects, as in the font dialog of the notebook's origin.
    QGroupBox* effects = nullptr;
    for (QGroupBox* box : findChildren<QGroupBox*>())
        if (box->findChild<QCheckBox*>()) effects = box;
    m_colour = new QComboBox(effects ? static_cast<QWidget*>(effects) : this);
    m_colour->setObjectName(QStringLiteral("fontColour"));
    m_colour->setAccessibleName(QStringLiteral("色"));
    const QColor border = palette().color(QPalette::WindowText);
    const QColor automatic = palette().color(QPalette::Text);
    int current = -1;
    for (const Colour& c : kColours) {
        const QColor shown = c.cr == 0 ? automatic : FromColorRef(c.cr);
        m_colour->addItem(Swatch(shown, border), QString::fromUtf8(c.name), QVariant::fromValue(c.cr));
        if (c.cr == crColour) current = m_colour->count() - 1;
    }
    // A colour saved elsewhere that is none of the sixteen stays as it is.
    if (current < 0) {
        m_colour->addItem(Swatch(FromColorRef(crColour), border),
                          QStringLiteral("その他 #%1").arg(FromColorRef(crColour).name().mid(1).toUpper()),
                          QVariant::fromValue(crColour));
        current = m_colour->count() - 1;
    }
    m_colour->setCurrentIndex(current);
    auto* label = new QLabel(QStringLiteral("色(&C):"), m_colour->parentWidget());
    label->setBuddy(m_colour);
    if (effects && effects->layout()) {
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(m_colour, 1);
        static_cast<QBoxLayout*>(effects->layout())->addLayout(row);
    }
    connect(m_colour, &QComboBox::currentIndexChanged, this, [this] { ShowSampleColour(); });
    ShowSampleColour();
}

std::uint32_t FontDialog::SelectedColour() const { return m_colour->currentData().value<std::uint32_t>(); }

void FontDialog::ShowSampleColour() {
    if (!m_sample) return;
    QPalette palette = m_sample->palette();
    const std::uint32_t cr = SelectedColour();
    palette.setColor(QPalette::Text, cr == 0 ? this->palette().color(QPalette::Text) : FromColorRef(cr));
    m_sample->setPalette(palette);
}
