// Reading the program's text files: byte-order marks, strict UTF-8, UTF-16 in
// either byte order, the ANSI code page, and the one line-splitting rule that
// every data file shares.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quillomi::phrases {

using platform::Bytes;

// An allocator that leaves the units a vector grows by as they are: the
// decoder writes each of them, and zero-filling a list of a million lines
// first costs a good part of its decoding.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  using std::allocator<T>::allocator;
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  template <typename U>
  void construct(U* at) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(at)) U;
  }
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};
// Text laid back to back, as the lists keep it.
using TextBuffer = std::vector<char16_t, UninitializedAllocator<char16_t>>;
inline std::u16string_view View(const TextBuffer& text) {
  return std::u16string_view(text.data(), text.size());
}

enum class Encoding {
  kAnsi,        // no mark: the system's ANSI code page
  kUtf8Bom,     // EF BB BF
  kUtf16LeBom,  // FF FE
  kUtf16BeBom,  // FE FF
  kUtf8NoBom,   // no mark, but read as UTF-8 (see the button file's fill-up)
};

// The mark at the start of bytes, if any: its encoding and its length in bytes.
struct Mark {
  Encoding encoding = Encoding::kAnsi;
  std::size_t length = 0;
};
Mark DetectMark(const std::uint8_t* data, std::size_t size);

// Strict UTF-8: nullopt on any overlong form, surrogate, truncated sequence,
// stray continuation byte or value above U+10FFFF.
std::optional<std::u16string> DecodeUtf8Strict(const std::uint8_t* data, std::size_t size);
// Lines as SplitLineViews splits the decoded text, laid back to back without
// their breaks in one buffer: line k runs from starts[k] to starts[k + 1].
// flagged[k] tells whether line k holds the unit given as `flag`.
struct PackedLines {
  TextBuffer text;
  std::vector<std::size_t> starts{0};
  std::vector<std::uint8_t> flagged;

  std::size_t size() const { return flagged.size(); }
  std::u16string_view operator[](std::size_t k) const {
    return View(text).substr(starts[k], starts[k + 1] - starts[k]);
  }
};
// Strict UTF-8 straight into PackedLines, in one pass and without a text per
// line; nullopt as DecodeUtf8Strict gives it, for bytes after a U+0000 too.
// From `split_from` bytes on, the two halves of the bytes, split after an LF,
// are decoded at once on two threads; the result is the same either way.
inline constexpr std::size_t kSplitDecodeBytes = std::size_t{1} << 20;
std::optional<PackedLines> DecodeUtf8LinesStrict(const std::uint8_t* data, std::size_t size,
                                                 char16_t flag,
                                                 std::size_t split_from = kSplitDecodeBytes);
// UTF-16 code units in the given byte order; a trailing odd byte is dropped.
std::u16string DecodeUtf16(const std::uint8_t* data, std::size_t size, bool big_endian);

std::string EncodeUtf8(std::u16string_view text);  // lone surrogates become U+FFFD
Bytes EncodeUtf16(std::u16string_view text, bool big_endian);

// The text up to its first U+0000.
std::u16string_view UpToNul(std::u16string_view text);
// Lines split at CR LF, lone LF and lone CR; the text ends at its first U+0000;
// a break at the very end adds no line; an empty text has none. The views point
// into text.
std::vector<std::u16string_view> SplitLineViews(std::u16string_view text);
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Reads a whole file with read sharing; an open or read failure becomes the
// user error "ファイル %s は開けません。 %s ".
Bytes ReadFileBytes(platform::Files& files, std::u16string_view path);

// Strict UTF-8 with an optional mark (phrase list, normal-speech list, settings):
// the mapping error on any invalid sequence.
std::u16string DecodeUtf8File(const Bytes& bytes);
PackedLines DecodeUtf8FileLines(const Bytes& bytes, char16_t flag);
std::vector<std::u16string> ReadUtf8Lines(platform::Files& files, std::u16string_view path);

}  // namespace quillomi::phrases
