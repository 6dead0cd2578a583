// Helpers shared by the unit tests.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "phrases/phrase_list.h"
#include "platform/platform.h"

namespace quillomi::test {

// Bytes from a string literal that may hold any byte values.
platform::Bytes B(std::string_view bytes);
// A literal's bytes, embedded NULs included.
template <std::size_t N>
platform::Bytes B(const char (&bytes)[N]) {
  return B(std::string_view(bytes, N - 1));
}
std::string Utf8(std::u16string_view text);

// The entries LoadList gives a list, as the list shows them.
struct ListEntries final : phrases::PhraseListSink {
  void Clear() override {
    texts.clear();
    icons.clear();
  }
  void Reserve(std::size_t, std::size_t) override {}
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void Add(std::u16string_view text, int icon) override {
    texts.emplace_back(text);
    icons.push_back(icon);
  }
  std::vector<std::u16string> texts;
  std::vector<int> icons;
};

// A code page 932 button file of 58 lines whose line `at` ends in a lead byte
// followed directly by `line_break` (none: the lead byte ends the file). A
// decoder may read the lead byte and a CR or LF after it as one character.
struct LeadByteCase {
  std::uint8_t lead = 0x82;
  std::string_view line_break;
  int at = 30;
  std::string Name() const;
  platform::Bytes File() const;
};
// Every lead byte (81 to 9F, E0 to FC) before CR, LF and CR LF, in the middle
// and on the last line, and alone at the very end.
std::vector<LeadByteCase> LeadByteCases();
// Fills up the file at path, which holds `original`, and checks what the next
// start reads: the lines read before, then the placeholders up to line 59
// exactly, and nothing written again. Empty when all holds, else what did not.
std::string FillUpProblems(platform::Platform& platform, const std::u16string& path,
                           const platform::Bytes& original);

}  // namespace quillomi::test
