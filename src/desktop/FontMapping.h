// The saved font of the panes on this desktop: Windows face names substituted by the
// Japanese fonts installed here, the saved format as a QFont and its colour, and a
// font chosen in the font dialog as the format to save.
#pragma once

#include "transcript/CharFormat.h"

#include <QColor>
#include <QFont>
#include <cstdint>
#include <optional>

/// Substitutes for the Windows face names a saved font may carry ("ＭＳ Ｐゴシック" ->
/// IPAPGothic, then any Japanese Gothic ...), and the dialogs' font: the default face at
/// 9 points. Once at start-up, before the first window; later calls do nothing.
void InstallFontSubstitutions();

/// The family a font really draws with on this desktop.
QString ResolvedFamily(const QFont& font);

/// The installed fixed-pitch Mincho the printed page uses for "ＭＳ 明朝" (IPAMincho
/// where it is installed, whatever language the font names are shown in); empty when
/// no Japanese serif face is installed.
QString FixedPitchMincho();

/// The panes' font for a saved format: face, point size (twips / 20) and effects.
QFont FontFromCharFormat(const nelo::CharFormat& cf);
/// The panes' text colour for a saved format; invalid when the theme's text colour is
/// meant (the automatic colour, or the default black, which would vanish on a dark theme).
QColor ColourFromCharFormat(const nelo::CharFormat& cf);

/// The format for the font chosen in the font dialog, built from the current one: size
/// (tenths of a point × 2), effects, face, pitch. Choosing the family the current face is
/// drawn with keeps the current face name. A family that cannot be saved as code page 932
/// within 31 bytes leaves the current face in place: then false.
/// crColour: the colour chosen (0x00BBGGRR; 0, the automatic colour); without it the
/// current colour stays.
bool ChosenCharFormat(const nelo::CharFormat& current, const QFont& chosen, nelo::CharFormat& out,
                      std::optional<std::uint32_t> crColour = std::nullopt);
