// What the fuzz targets share: a failed invariant ends the run with a message
// (libFuzzer keeps the input), and reference checks written apart from the
// code under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quillomi::fuzz {

inline void Require(bool holds, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", invariant);
  std::abort();
}

// Well-formed UTF-8 by the table of well-formed byte sequences in the Unicode
// standard, byte range by byte range.
inline bool IsWellFormedUtf8(const std::uint8_t* data, std::size_t size) {
  std::size_t i = 0;
  const auto in = [&](std::size_t k, std::uint8_t low, std::uint8_t high) {
    return i + k < size && data[i + k] >= low && data[i + k] <= high;
  };
  while (i < size) {
    const std::uint8_t b = data[i];
    std::size_t length = 0;
    if (b <= 0x7F) {
      length = 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = in(1, 0x80, 0xBF) ? 2 : 0;
    } else if (b == 0xE0) {
      length = in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
      length = in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    } else if (b == 0xED) {
      length = in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF) ? 3 : 0;
    } else if (b == 0xF0) {
      length = in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    } else if (b >= 0xF1 && b <= 0xF3) {
      length = in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    } else if (b == 0xF4) {
      length = in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    }
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// Bytes as little-endian UTF-16 code units; a trailing odd byte is dropped.
inline std::u16string Utf16Le(const std::uint8_t* data, std::size_t size) {
  std::u16string units(size / 2, u'\0');
  for (std::size_t k = 0; k < units.size(); ++k) {
    units[k] = static_cast<char16_t>(data[2 * k] | (data[2 * k + 1] << 8));
  }
  return units;
}

inline bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace quillomi::fuzz
