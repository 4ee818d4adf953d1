#include "desktop/FontMapping.h"

#include "desktop/QtText.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

using namespace nelo;

namespace {

QStringList GothicP() {
    return {QStringLiteral("IPAPGothic"),       QStringLiteral("IPA Pゴシック"),      QStringLiteral("IPAexGothic"),
            QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"), QStringLiteral("VL PGothic"),
            QStringLiteral("TakaoPGothic"),     QStringLiteral("IPAGothic")};
}

QStringList GothicFixed() {
    return {QStringLiteral("IPAGothic"),        QStringLiteral("IPAゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
            QStringLiteral("VL Gothic"),        QStringLiteral("TakaoGothic"), QStringLiteral("IPAexGothic"),
            QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic")};
}

QStringList MinchoP() {
    return {QStringLiteral("IPAPMincho"),        QStringLiteral("IPA P明朝"),           QStringLiteral("IPAexMincho"),
            QStringLiteral("Noto Serif CJK JP"), QStringLiteral("Source Han Serif JP"), QStringLiteral("TakaoPMincho"),
            QStringLiteral("IPAMincho"),         QStringLiteral("IPAPGothic")};
}

QStringList MinchoFixed() {
    return {QStringLiteral("IPAMincho"),           QStringLiteral("IPA明朝"),
            QStringLiteral("IPAexMincho"),         QStringLiteral("Noto Serif CJK JP"),
            QStringLiteral("Source Han Serif JP"), QStringLiteral("TakaoMincho"),
            QStringLiteral("IPAPMincho"),          QStringLiteral("IPAGothic")};
}

/// The first of the names that is installed. The font database knows a family by its
/// name in the desktop's language ("IPA明朝" under Japanese) and by its other names.
QString FirstInstalled(const QStringList& names) {
    for (const QString& name : names)
        if (QFontDatabase::hasFamily(name)) return name;
    return QString();
}

/// A kProportional face by its name ("IPAPMincho", "IPA P明朝", "TakaoPMincho").
bool LooksProportional(const QString& family) {
    static const QRegularExpression kProportional(QStringLiteral("(^IPAP|^IPA P|PMincho|PGothic|P明朝|Pゴシック)"));
    return family.contains(kProportional);
}

}  // namespace

QString FixedPitchMincho() {
    // The fixed-pitch faces of the substitution list, before its last resorts.
    QStringList fixed;
    for (const QString& name : MinchoFixed())
        if (!LooksProportional(name) && !name.contains(QStringLiteral("Gothic"))) fixed.append(name);
    QString face = FirstInstalled(fixed);
    if (!face.isEmpty()) return face;
    // Any other Japanese serif face, a fixed-pitch one first.
    QStringList serif;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (family.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive) || family.contains(QStringLiteral("明朝")) ||
            family.contains(QStringLiteral("Serif")))
            serif.append(family);
    }
    std::stable_sort(serif.begin(), serif.end(),
                     [](const QString& a, const QString& b) { return !LooksProportional(a) && LooksProportional(b); });
    return serif.isEmpty() ? QString() : serif.front();
}

void InstallFontSubstitutions() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // The faces a notebook's font was saved with on Windows, by their Japanese and their
    // English names.
    for (const char* face : {"ＭＳ Ｐゴシック", "MS PGothic", "MS UI Gothic", "メイリオ", "Meiryo", "Meiryo UI",
                             "游ゴシック", "Yu Gothic", "Yu Gothic UI"})
        QFont::insertSubstitutions(QString::fromUtf8(face), GothicP());
    for (const char* face : {"ＭＳ ゴシック", "MS Gothic"})
        QFont::insertSubstitutions(QString::fromUtf8(face), GothicFixed());
    for (const char* face : {"ＭＳ Ｐ明朝", "MS PMincho", "游明朝", "Yu Mincho"})
        QFont::insertSubstitutions(QString::fromUtf8(face), MinchoP());
    for (const char* face : {"ＭＳ 明朝", "MS Mincho"})
        QFont::insertSubstitutions(QString::fromUtf8(face), MinchoFixed());

    // Dialogs show Japanese in the panes' default face.
    QApplication::setFont(FontFromCharFormat(DefaultCharFormat()), "QDialog");
}

QString ResolvedFamily(const QFont& font) { return QFontInfo(font).family(); }

QFont FontFromCharFormat(const CharFormat& cf) {
    QFont font(ToQString(cf.faceName));
    if (cf.height > 0) font.setPointSizeF(cf.height / 20.0);
    auto effect = [&](std::uint32_t bit) { return (cf.mask & bit) && (cf.effects & bit); };
    font.setBold(effect(EffectBold));
    font.setItalic(effect(EffectItalic));
    font.setUnderline(effect(EffectUnderline));
    font.setStrikeOut(effect(EffectStrikeout));
    return font;
}

QColor ColourFromCharFormat(const CharFormat& cf) {
    if (!(cf.mask & MaskColor) || (cf.effects & EffectAutoColor) || cf.crTextColor == 0) return QColor();
    const std::uint32_t c = cf.crTextColor;
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

bool ChosenCharFormat(const CharFormat& current, const QFont& chosen, CharFormat& out,
                      std::optional<std::uint32_t> crColour) {
    out = current;
    const int tenths = int(std::lround(chosen.pointSizeF() * 10));
    if (tenths > 0) out.height = tenths * 2;
    out.mask = MaskAll;
    // The colour chosen; without one the colour shown stays, the theme's as black.
    if (crColour)
        out.crTextColor = *crColour & 0x00FFFFFFu;
    else if (current.effects & EffectAutoColor)
        out.crTextColor = 0;
    out.effects &= ~(EffectBold | EffectItalic | EffectUnderline | EffectStrikeout | EffectAutoColor);
    if (chosen.weight() > QFont::Normal) out.effects |= EffectBold;
    if (chosen.italic()) out.effects |= EffectItalic;
    if (chosen.underline()) out.effects |= EffectUnderline;
    if (chosen.strikeOut()) out.effects |= EffectStrikeout;
    // The pitch bits follow the chosen font; the family bits and the character set stay.
    out.pitchAndFamily = std::uint8_t((current.pitchAndFamily & 0xF0) | (QFontInfo(chosen).fixedPitch() ? 1 : 2));

    if (chosen.family() == ResolvedFamily(FontFromCharFormat(current))) return true;
    int replacedCount = 0;
    const std::string face = ToCp932(chosen.family(), &replacedCount);
    if (replacedCount > 0 || face.empty() || face.size() > CharFormat::kMaxFace) return false;
    out.faceName = face;
    return true;
}
