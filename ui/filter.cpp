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
    return data[at] == head &&
           (tail == 0 || std::char_traits<char16_t>::compare(data + at + 1, literal.data() + 1,
                                                             tail) == 0);
  };
  // A lane of (word ^ pattern) is zero where the unit is the literal's first.
  // The lowest lane flagged is exact (a borrow only runs upwards), so the
  // first candidate comes straight from the mask; wildcard patterns look for
  // short, frequent literals and hit within a few units.
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
  // Dropped before anything else, so that quotes between the halves of a pair
  // leave the pair whole.
  std::u16string text;
  text.reserve(upper_text.size());
  for (char16_t c : upper_text) {
    if (c != u'"') text += c;
  }
  literals_.reserve(text.size());

  Segment segment;
  const auto close_segment = [&] {
    if (segment.lead > 0 || segment.run_count > 0) segments_.push_back(segment);
    segment = Segment{0, runs_.size(), 0};
  };
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == u'*') {
      close_segment();
      ++i;
    } else if (text[i] == u'?') {
      if (segment.run_count == 0) {
        ++segment.lead;
      } else {
        ++runs_.back().wild_after;
      }
      ++i;
    } else {
      const std::size_t end = text.find_first_of(u"*?", i);
      const std::size_t length = (end == npos ? text.size() : end) - i;
      runs_.push_back({literals_.size(), length, 0});
      literals_.append(text, i, length);
      ++segment.run_count;
      i += length;
    }
  }
  close_segment();
}

bool FilterPattern::Matches(std::u16string_view upper_entry) const {
  std::size_t at = 0;
  for (const auto& segment : segments_) {
    at = FindSegment(segment, upper_entry, at);
    if (at == npos) return false;
  }
  return true;
}

std::size_t FilterPattern::FindSegment(const Segment& segment, std::u16string_view entry,
                                       std::size_t from) const {
  // Each start gives one end, and a later start never an earlier end, so the
  // leftmost match leaves the most room for the segments after it.
  const std::size_t first_literal_from = Advance(entry, from, segment.lead);
  if (first_literal_from == npos || segment.run_count == 0) return first_literal_from;
  const std::u16string_view first = Literal(runs_[segment.first_run]);
  for (std::size_t at = FindLiteral(entry, first, first_literal_from); at != npos;
       at = FindLiteral(entry, first, at + 1)) {
    const std::size_t end = MatchRunsAt(segment, entry, at);
    if (end != npos) return end;
  }
  return npos;
}

void FilterPattern::AppendMatches(std::u16string_view upper_all,
                                  const std::vector<std::size_t>& starts,
                                  std::vector<std::size_t>& rows) const {
  // Each segment's first literal is looked for in all the texts at once, not
  // in the entry alone: a hit in a later entry proves that the entries in
  // between lack it and cannot match, so they cost no call of their own.
  const std::size_t count = starts.size() - 1;
  for (std::size_t i = 0; i < count;) {
    const std::size_t base = starts[i];
    const std::size_t entry_end = starts[i + 1];
    const std::u16string_view entry = upper_all.substr(base, entry_end - base);
    std::size_t next = i + 1;
    std::size_t at = 0;
    for (const auto& segment : segments_) {
      at = Advance(entry, at, segment.lead);
      if (at == npos || segment.run_count == 0) {
        if (at == npos) break;
        continue;
      }
      const std::u16string_view first = Literal(runs_[segment.first_run]);
      std::size_t hit = FindLiteral(upper_all, first, base + at);
      // A segment that is one literal alone matches where it is found, but
      // for the halves of a pair at its edges.
      const bool alone = segment.run_count == 1 && runs_[segment.first_run].wild_after == 0;
      for (at = npos; hit != npos && hit + first.size() <= entry_end;
           hit = FindLiteral(upper_all, first, hit + 1)) {
        const std::size_t start = hit - base;
        if (!alone) {
          at = MatchRunsAt(segment, entry, start);
        } else if (IsBoundary(entry, start) && IsBoundary(entry, start + first.size())) {
          at = start + first.size();
        }
        if (at != npos) break;
      }
      if (hit == npos) return;  // nor does any later entry hold the literal
      if (at != npos) continue;
      while (starts[next + 1] <= hit) ++next;
      break;
    }
    if (at != npos) rows.push_back(i);
    i = next;
  }
}

std::size_t FilterPattern::MatchRunsAt(const Segment& segment, std::u16string_view entry,
                                       std::size_t at) const {
  if (!IsBoundary(entry, at)) return npos;
  for (std::size_t r = segment.first_run; r < segment.first_run + segment.run_count; ++r) {
    const Run& run = runs_[r];
    if (entry.substr(at, run.length) != Literal(run)) return npos;
    at += run.length;
    if (!IsBoundary(entry, at)) return npos;
    at = Advance(entry, at, run.wild_after);
    if (at == npos) return npos;
  }
  return at;
}

void FilterList::Clear() {
  // A large list's memory goes back at once, not with the next load.
  Assign({});
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
  FilterPattern(filter_upper_).AppendMatches(Upper(), entries_.starts, rows_);
}

}  // namespace quillomi::ui
