// The filter list's entries, its filter text and the shown-row → entry map.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "phrases/phrase_list.h"
#include "platform/platform.h"

namespace quillomi::ui {

// A filter text, upper-cased by the entries' mapping, compiled. An entry matches
// when it contains the text: "*" is any run of characters (the empty one too),
// "?" exactly one, '"' is dropped, every other character ("!", "<", ">", "^",
// "&", "|" too) stands for itself. A character is a surrogate pair or any other
// UTF-16 unit, so a match never starts or ends inside a pair. The pieces
// between the stars are found leftmost without going back: time at most the
// entry's length times the filter's.
class FilterPattern {
 public:
  explicit FilterPattern(std::u16string_view upper_text);

  bool Matches(std::u16string_view upper_entry) const;

 private:
  // A literal and the "?" that follow it.
  struct Run {
    std::u16string literal;
    std::size_t any_after = 0;
  };
  // What stands between two stars: some "?", then runs.
  struct Segment {
    std::size_t lead = 0;
    std::vector<Run> runs;
  };

  // The end of the runs matched from `at`, or npos.
  static std::size_t MatchRunsAt(const std::vector<Run>& runs, std::u16string_view entry,
                                 std::size_t at);

  std::vector<Segment> segments_;
};

// A new list is filtered at once with the filter in force. The upper-cased
// copy is made by the first filter that needs it: an unfiltered list costs none.
class FilterList {
 public:
  explicit FilterList(platform::Text& text) : text_(text) {}

  void Assign(phrases::PhraseEntries entries);

  // Filters again at once; an empty text shows every entry in list order.
  void SetFilter(std::u16string_view filter_text);

  std::size_t EntryCount() const { return entries_.size(); }
  std::size_t RowCount() const { return filtered_ ? rows_.size() : EntryCount(); }
  // The entry that a shown row stands for; row < RowCount().
  std::size_t EntryIndexOfRow(std::size_t row) const { return filtered_ ? rows_[row] : row; }
  // The raw line; index < EntryCount().
  std::u16string_view EntryText(std::size_t index) const { return entries_[index]; }
  int IconOf(std::size_t index) const { return entries_.icons[index]; }

 private:
  void Refilter();
  std::u16string_view Upper();

  platform::Text& text_;
  // Entry i runs from starts[i] to starts[i + 1] in the upper-cased copy too.
  phrases::PhraseEntries entries_;
  std::u16string upper_;
  bool upper_ready_ = false;

  std::u16string filter_upper_;
  bool filtered_ = false;
  std::vector<std::size_t> rows_;
};

}  // namespace quillomi::ui
