#include "ui/filter.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace quillomi::ui {

namespace {

constexpr auto npos = std::u16string_view::npos;

bool IsHigh(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Not between the two halves of a surrogate pair.
bool IsBoundary(std::u16string_view text, std::size_t at) {
  return at == 0 || at >= text.size() || !(IsHigh(text[at - 1]) && IsLow(text[at]));
}

// The position `count` characters on from the boundary `at`, or npos when the
// text ends first.
std::size_t Advance(std::u16string_view text, std::size_t at, std::size_t count) {
  for (; count > 0; --count) {
    if (at >= text.size()) return npos;
    const bool pair = IsHigh(text[at]) && at + 1 < text.size() && IsLow(text[at + 1]);
    at += pair ? 2u : 1u;
  }
  return at;
}

// std::u16string_view::find, testing four start positions at a time: the
// standard library compares a char16_t text unit by unit, which made
// filtering a long list take about twice as long.
std::size_t FindLiteral(std::u16string_view text, std::u16string_view literal, std::size_t from) {
  if (literal.size() > text.size()) return npos;
  const std::size_t last = text.size() - literal.size();  // the last possible start
  const char16_t head = literal[0];
  const char16_t* const data = text.data();
  const std::size_t tail = literal.size() - 1;
  const auto starts_at = [&](std::size_t at) {
    return data[at] == head && (tail == 0 || std::char_traits<char16_t>::compare(
                                                 data + at + 1, literal.data() + 1, tail) == 0);
  };
  // A lane of (word ^ pattern) is zero where the unit is the literal's first;
  // the lowest lane flagged is exact, as a borrow only runs upwards.
  constexpr std::uint64_t kLowBits = 0x0001000100010001;
  constexpr std::uint64_t kHighBits = 0x8000800080008000;
  const std::uint64_t pattern = kLowBits * static_cast<std::uint64_t>(head);
  std::size_t at = from;
  while (at + 3 <= last) {
    std::uint64_t word;
    std::memcpy(&word, data + at, sizeof word);
    const std::uint64_t x = word ^ pattern;
    const std::uint64_t heads = (x - kLowBits) & ~x & kHighBits;
    if (heads == 0) {
      at += 4;
      continue;
    }
    at += static_cast<std::size_t>(std::countr_zero(heads)) / 16;
    if (starts_at(at)) return at;
    ++at;
  }
  for (; at <= last; ++at) {
    if (starts_at(at)) return at;
  }
  return npos;
}

}  // namespace

FilterPattern::FilterPattern(std::u16string_view upper_text) {
  Segment segment;
  const auto close_segment = [&] {
    if (segment.lead > 0 || !segment.runs.empty()) segments_.push_back(std::move(segment));
    segment = {};
  };
  for (char16_t c : upper_text) {
    if (c == u'*') {
      close_segment();
    } else if (c == u'?') {
      ++(segment.runs.empty() ? segment.lead : segment.runs.back().any_after);
    } else if (c != u'"') {
      // A quote is skipped, not ended at, so that between the halves of a pair
      // it leaves the pair whole.
      if (segment.runs.empty() || segment.runs.back().any_after > 0) segment.runs.emplace_back();
      segment.runs.back().literal += c;
    }
  }
  close_segment();
}

bool FilterPattern::Matches(std::u16string_view upper_entry) const {
  // A segment spans a fixed number of characters, so a later start never gives
  // an earlier end: the leftmost match of each leaves the most room for the
  // ones after it, and no choice is ever undone.
  std::size_t from = 0;
  for (const Segment& segment : segments_) {
    if (segment.lead > 0 && (from = Advance(upper_entry, from, segment.lead)) == npos) return false;
    if (segment.runs.empty()) continue;
    // Any hit of the first literal past the lead "?" will do: they take the
    // characters just before it.
    const std::u16string_view first = segment.runs.front().literal;
    std::size_t end = npos;
    for (std::size_t at = FindLiteral(upper_entry, first, from); at != npos;
         at = FindLiteral(upper_entry, first, at + 1)) {
      // A lone literal, as between stars, needs only its two ends whole.
      if (segment.runs.size() == 1 && segment.runs.front().any_after == 0) {
        if (!IsBoundary(upper_entry, at) || !IsBoundary(upper_entry, at + first.size())) continue;
        end = at + first.size();
        break;
      }
      end = MatchRunsAt(segment.runs, upper_entry, at);
      if (end != npos) break;
    }
    if (end == npos) return false;
    from = end;
  }
  return true;
}

std::size_t FilterPattern::MatchRunsAt(const std::vector<Run>& runs, std::u16string_view entry,
                                       std::size_t at) {
  for (const Run& run : runs) {
    if (!IsBoundary(entry, at) || !entry.substr(at).starts_with(run.literal)) return npos;
    at += run.literal.size();
    if (!IsBoundary(entry, at)) return npos;
    at = Advance(entry, at, run.any_after);
    if (at == npos) return npos;
  }
  return at;
}

void FilterList::Assign(phrases::PhraseEntries entries) {
  entries_ = std::move(entries);
  upper_ = std::u16string();
  upper_ready_ = false;
  Refilter();
}

std::u16string_view FilterList::Upper() {
  if (!upper_ready_) {
    // One call over every entry: the mapping goes unit by unit, so entries
    // back to back map as they would one by one.
    upper_ = entries_.text;
    text_.UpperCaseInPlace(upper_);
    upper_ready_ = true;
  }
  return upper_;
}

void FilterList::SetFilter(std::u16string_view filter_text) {
  filter_upper_.assign(filter_text);
  text_.UpperCaseInPlace(filter_upper_);
  filtered_ = !filter_upper_.empty();
  Refilter();
}

void FilterList::Refilter() {
  rows_.clear();
  if (!filtered_ || entries_.size() == 0) return;
  const FilterPattern pattern(filter_upper_);
  const std::u16string_view upper = Upper();
  for (std::size_t i = 0; i + 1 < entries_.starts.size(); ++i) {
    if (pattern.Matches(
            upper.substr(entries_.starts[i], entries_.starts[i + 1] - entries_.starts[i])))
      rows_.push_back(i);
  }
}

}  // namespace quillomi::ui
