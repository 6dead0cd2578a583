// Reading the program's text files: byte-order marks, strict UTF-8, UTF-16 in
// either byte order, the ANSI code page, and the one line-splitting rule that
// every data file shares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quillomi::phrases {

using platform::Bytes;

enum class Encoding {
  kAnsi,     // the system's ANSI code page
  kUtf8,     // marked EF BB BF
  kUtf16Le,  // marked FF FE
  kUtf16Be,  // marked FE FF
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
// UTF-16 code units in the given byte order; a trailing odd byte is dropped.
std::u16string DecodeUtf16(const std::uint8_t* data, std::size_t size, bool big_endian);
Bytes EncodeUtf16(std::u16string_view text, bool big_endian);

// Lines split at CR LF, lone LF and lone CR; the text ends at its first U+0000;
// a break at the very end adds no line; an empty text has none.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Reads a whole file with read sharing; an open or read failure becomes the
// user error "ファイル %s は開けません。 %s ".
Bytes ReadFileBytes(platform::Files& files, std::u16string_view path);

// Strict UTF-8 with an optional mark (phrase list, normal-speech list, settings):
// the mapping error on any invalid sequence, after a U+0000 too.
std::vector<std::u16string> ReadUtf8Lines(platform::Files& files, std::u16string_view path);
// The file's lines laid back to back without their breaks in one buffer, as a
// long list keeps them: line k runs from starts[k] to starts[k + 1], and
// flagged[k] tells whether it holds `flag`.
struct PackedLines {
  std::u16string text;
  std::vector<std::size_t> starts{0};
  std::vector<std::uint8_t> flagged;
};
PackedLines DecodeUtf8FileLines(const Bytes& bytes, char16_t flag);

}  // namespace quillomi::phrases
