// Any filter text against any entries: the filter list shows exactly the
// entries that a slow, plain wildcard matcher finds, in list order.
//
// Input: UTF-16 LE units; the filter text, then after each LF one entry.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_platform.h"
#include "ui/filter.h"

namespace {

using quillomi::fuzz::IsHighSurrogate;
using quillomi::fuzz::IsLowSurrogate;
using quillomi::fuzz::Require;

// A character: a surrogate pair, or any other single unit. For the pattern,
// "*" and "?" get values no unit has.
constexpr std::uint32_t kAnyRun = 0x110000;
constexpr std::uint32_t kAnyOne = 0x110001;

std::vector<std::uint32_t> Characters(std::u16string_view text, bool pattern) {
  std::vector<std::uint32_t> out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out.push_back(0x10000u + ((text[i] - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (pattern && text[i] == u'*') {
      out.push_back(kAnyRun);
    } else if (pattern && text[i] == u'?') {
      out.push_back(kAnyOne);
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// Whether the entry holds the filter: "*" + filter + "*" matched against the
// whole entry, character by character, by the textbook table.
bool ReferenceMatches(std::u16string_view upper_filter, std::u16string_view upper_entry) {
  std::u16string unquoted;
  for (char16_t c : upper_filter) {
    if (c != u'"') unquoted += c;
  }
  std::vector<std::uint32_t> pattern{kAnyRun};
  for (std::uint32_t c : Characters(unquoted, true)) pattern.push_back(c);
  pattern.push_back(kAnyRun);
  const std::vector<std::uint32_t> entry = Characters(upper_entry, false);

  // matched[j]: the pattern's first j characters match the entry's first i.
  std::vector<bool> matched(pattern.size() + 1, false);
  matched[0] = true;
  for (std::size_t j = 1; j <= pattern.size(); ++j) {
    matched[j] = matched[j - 1] && pattern[j - 1] == kAnyRun;
  }
  for (std::size_t i = 1; i <= entry.size(); ++i) {
    std::vector<bool> next(pattern.size() + 1, false);
    for (std::size_t j = 1; j <= pattern.size(); ++j) {
      const std::uint32_t p = pattern[j - 1];
      if (p == kAnyRun) {
        next[j] = next[j - 1] || matched[j];
      } else {
        next[j] = matched[j - 1] && (p == kAnyOne || p == entry[i - 1]);
      }
    }
    matched = std::move(next);
  }
  return matched[pattern.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string units = quillomi::fuzz::Utf16Le(data, size);
  const std::size_t filter_end = std::min(units.find(u'\n'), units.size());
  const std::u16string filter = units.substr(0, filter_end);
  std::vector<std::u16string> entries;
  for (std::size_t at = filter_end; at < units.size();) {
    const std::size_t next = std::min(units.find(u'\n', at + 1), units.size());
    entries.emplace_back(units, at + 1, next - at - 1);
    at = next;
  }

  quillomi::fake::FakePlatform platform;
  std::u16string upper_filter = filter;
  platform.UpperCaseInPlace(upper_filter);

  std::vector<std::size_t> expected_rows;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::u16string upper_entry = entries[i];
    platform.UpperCaseInPlace(upper_entry);
    if (ReferenceMatches(upper_filter, upper_entry)) expected_rows.push_back(i);
  }

  quillomi::ui::FilterList list(platform);
  quillomi::phrases::PhraseEntries loaded;
  for (const auto& entry : entries) {
    loaded.text += entry;
    loaded.starts.push_back(loaded.text.size());
    loaded.icons.push_back(static_cast<std::uint8_t>(loaded.icons.size() % 9 + 1));
  }
  list.Assign(std::move(loaded));
  list.SetFilter(filter);
  if (filter.empty()) {
    expected_rows.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) expected_rows[i] = i;
  }
  std::vector<std::size_t> rows(list.RowCount());
  for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = list.EntryIndexOfRow(row);
  Require(rows == expected_rows, "the list shows the matching entries in list order");

  Require(list.EntryCount() == entries.size(), "every entry is kept");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Require(list.EntryText(i) == entries[i] && list.IconOf(i) == static_cast<int>(i % 9 + 1),
            "entries keep their text and icon");
  }
  list.SetFilter(u"");
  Require(list.RowCount() == entries.size(), "an empty filter shows every entry");
  return 0;
}
