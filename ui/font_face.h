// The one face every window, control and the free-text box are drawn in.
// "Meiryo UI" where it is installed; elsewhere (Wine on Linux, Windows without
// the Japanese supplemental fonts) the system's substitute is much wider and
// cuts the captions, so a face of the list below stands in, narrowed where its
// kana are wider than the designed controls allow.
#pragma once

#include <array>
#include <string_view>

#include "platform/platform.h"

namespace quillomi::ui {

struct FontFace {
  std::u16string_view name;
  // Of the face's own average character width: below 100 the glyphs are
  // drawn narrower (lfWidth), at their full height.
  int width_percent = 100;
  friend bool operator==(const FontFace&, const FontFace&) = default;
};

inline constexpr FontFace kDesignedFontFace{u"Meiryo UI", 100};

// In the order asked for: the Windows UI faces, then Linux faces, whose five
// kana overflow a 50-pixel button at 12 pixels unless narrowed to 67 %
// (measured under Wine). Noto Sans CJK JP first: narrowed, its digits and kanji
// stay the clearest; Wine's hinting turns BIZ UDPGothic's "8" into a "0" and
// blots IPAPGothic's kanji.
inline constexpr std::array kFallbackFontFaces{
    FontFace{u"Yu Gothic UI", 100},    FontFace{u"MS UI Gothic", 100},
    FontFace{u"Noto Sans CJK JP", 67}, FontFace{u"BIZ UDPGothic", 67},
    FontFace{u"VL PGothic", 67},       FontFace{u"IPAPGothic", 67},
};

// Else the designed one, for the system to substitute.
inline FontFace ChooseFontFace(platform::Screen& screen) {
  if (screen.IsFontInstalled(kDesignedFontFace.name)) return kDesignedFontFace;
  for (const FontFace& face : kFallbackFontFaces)
    if (screen.IsFontInstalled(face.name)) return face;
  return kDesignedFontFace;
}

}  // namespace quillomi::ui
