// The phrase list file and LoadList, which fills the list window's filter list
// with its lines and gives each its icon number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "phrases/text_file.h"
#include "platform/platform.h"

namespace quillomi::phrases {

inline constexpr char16_t kHeadingMark = u'\u25C6';  // ◆
inline constexpr int kIconCount = 9;

// A whole list in one buffer: entry k runs from starts[k] to starts[k + 1] of
// text, and icons[k] is its icon number.
struct PhraseEntries {
  TextBuffer text;
  std::vector<std::size_t> starts{0};
  std::vector<std::uint8_t> icons;

  std::size_t size() const { return icons.size(); }
  std::u16string_view operator[](std::size_t k) const {
    return View(text).substr(starts[k], starts[k + 1] - starts[k]);
  }
};

// What LoadList needs of the filter list lb1.
class PhraseListSink {
 public:
  virtual ~PhraseListSink() = default;
  virtual void Clear() = 0;
  // Room for a batch of `items` entries of `units` UTF-16 code units in all, so
  // that a large list fills without regrowing.
  virtual void Reserve(std::size_t items, std::size_t units) = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  // Appends an item with its text and icon number (1..9); text is only valid
  // during the call.
  virtual void Add(std::u16string_view text, int icon) = 0;
  // Fills the emptied list in one batch. A store that can take the buffers
  // over saves copying a large list; by default the entries go one by one.
  virtual void Assign(PhraseEntries entries);
};

// Empties lb1, then fills it from the UTF-8 file at sListFile. A read or
// decoding failure throws UserError and leaves lb1 empty.
void LoadList(platform::Files& files, std::u16string_view sListFile, PhraseListSink& lb1);

}  // namespace quillomi::phrases
