// The one font of both panes as the profile keeps it: "FontAttr" of "SendViewFont", a
// text of eight fields, "%x %x %d %d %x %x %x %s" (effect mask, effects, height in
// twips, baseline offset, colour 0x00BBGGRR, character set, pitch and family, face
// name). Both front ends read and write this form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nelo {

class Profile;

/// Which fields of a CharFormat are meant, and its effects.
enum : std::uint32_t {
    MaskBold = 0x00000001u,
    MaskItalic = 0x00000002u,
    MaskUnderline = 0x00000004u,
    MaskStrikeout = 0x00000008u,
    MaskCharset = 0x08000000u,
    MaskOffset = 0x10000000u,
    MaskFace = 0x20000000u,
    MaskColor = 0x40000000u,
    MaskSize = 0x80000000u,
    /// Size, colour, face, offset, character set, bold, italic, underline, strikeout.
    MaskAll = 0xF800000Fu,

    EffectBold = 0x00000001u,
    EffectItalic = 0x00000002u,
    EffectUnderline = 0x00000004u,
    EffectStrikeout = 0x00000008u,
    /// The text takes the window's text colour, not crTextColor.
    EffectAutoColor = 0x40000000u,
};

struct CharFormat {
    /// The longest face name in bytes (code page 932).
    static constexpr std::size_t kMaxFace = 31;

    std::uint32_t mask = MaskAll;
    std::uint32_t effects = 0;
    std::int32_t height = 180;           // twips
    std::int32_t offset = 0;             // twips
    std::uint32_t crTextColor = 0;       // 0x00BBGGRR
    std::uint8_t charSet = 128;          // Shift-JIS
    std::uint8_t pitchAndFamily = 0x32;  // modern family, variable pitch
    std::string faceName;                // code page 932, at most kMaxFace bytes

    bool operator==(const CharFormat&) const = default;
};

/// The font used while no usable value is saved: 9-point "ＭＳ Ｐゴシック", black.
CharFormat DefaultCharFormat();

/// The saved text of a format (code page 932).
std::string FormatFontAttr(const CharFormat& cf);
/// Reads a saved text (code page 932); false, with cf untouched, unless all eight
/// fields are there. A face name with blanks is kept whole, cut to 31 bytes without
/// splitting a double-byte character.
bool ParseFontAttr(std::string_view text, CharFormat& cf);

/// The face name cut to at most kMaxFace bytes at a character boundary.
std::string TruncateFaceName(std::string_view face);

/// The saved font of the panes, or the default when none is saved or it is unreadable.
CharFormat ReadSavedFont(const Profile& profile);
/// Saves the font; false when the profile could not be written.
bool WriteSavedFont(Profile& profile, const CharFormat& cf);

}  // namespace nelo
