// Native stand-in for CharUpperBuffW over the scripts a phrase list holds:
// ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and full-width Latin.
// Kana and other scripts have no case and stay as they are.
#include "platform/fake/fake_platform.h"

namespace quillomi::fake {

namespace {

char16_t Upper(char16_t c) {
  // Kana, kanji and most symbols have no case.
  if (c >= 0x460 && c < 0xFF41) return c;
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x137 && (c & 1)) return static_cast<char16_t>(c - 1);
  if (c >= 0x139 && c <= 0x148 && !(c & 1)) return static_cast<char16_t>(c - 1);
  if (c >= 0x14A && c <= 0x177 && (c & 1)) return static_cast<char16_t>(c - 1);
  if (c == 0x17A || c == 0x17C || c == 0x17E) return static_cast<char16_t>(c - 1);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
  return c;
}

}  // namespace

void UpperCaseForTests(std::u16string& text) {
  for (auto& c : text) c = Upper(c);
}

}  // namespace quillomi::fake
