#include "ui/font_face.h"

namespace quillomi::ui {

FontFace ChooseFontFace(platform::Screen& screen) {
  if (screen.IsFontInstalled(kDesignedFontFace.name)) return kDesignedFontFace;
  for (const FontFace& face : kFallbackFontFaces)
    if (screen.IsFontInstalled(face.name)) return face;
  return kDesignedFontFace;
}

}  // namespace quillomi::ui
