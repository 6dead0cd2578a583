// Helpers shared by the unit tests.
#pragma once

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

}  // namespace quillomi::test
