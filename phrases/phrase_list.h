// The phrase list file, read into the entries of the list window's filter list
// with each one's icon number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quillomi::phrases {

inline constexpr char16_t kHeadingMark = u'\u25C6';  // ◆
inline constexpr int kIconCount = 9;

// A whole list in one buffer: entry k runs from starts[k] to starts[k + 1] of
// text, and icons[k] is its icon number.
struct PhraseEntries {
  std::u16string text;
  std::vector<std::size_t> starts{0};
  std::vector<std::uint8_t> icons;

  std::size_t size() const { return icons.size(); }
  std::u16string_view operator[](std::size_t k) const {
    return std::u16string_view(text).substr(starts[k], starts[k + 1] - starts[k]);
  }
};

// The list that shows the entries, lb1, as a load fills it.
class PhraseListView {
 public:
  virtual ~PhraseListView() = default;
  virtual void Clear() = 0;
  // Takes a whole list over at once.
  virtual void Assign(PhraseEntries entries) = 0;
};

// The lines of the UTF-8 file at sListFile; a read or decoding failure throws
// UserError.
PhraseEntries ReadPhraseList(platform::Files& files, std::u16string_view sListFile);

}  // namespace quillomi::phrases
