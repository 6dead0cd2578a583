#include "phrases/text_file.h"

#include "platform/errors.h"
#include "platform/utf.h"

namespace quillomi::phrases {

Mark DetectMark(const std::uint8_t* data, std::size_t size) {
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) return {Encoding::kUtf8Bom, 3};
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return {Encoding::kUtf16LeBom, 2};
  if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return {Encoding::kUtf16BeBom, 2};
  return {Encoding::kAnsi, 0};
}

std::optional<std::u16string> DecodeUtf8Strict(const std::uint8_t* data, std::size_t size) {
  std::u16string out;
  out.resize(size);  // never more units than bytes
  char16_t* o = out.data();
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t b0 = data[i];
    if (b0 < 0x80) {
      // Runs of ASCII are the common case in every file: no checks beyond the byte.
      *o++ = b0;
      ++i;
      while (i < size && data[i] < 0x80) *o++ = data[i++];
      continue;
    }
    if (b0 >= 0xE1 && b0 <= 0xEC && size - i > 2) {
      // Kana and kanji: three bytes, no overlong or surrogate forms possible here.
      const std::uint8_t b1 = data[i + 1], b2 = data[i + 2];
      if ((b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return std::nullopt;
      *o++ = static_cast<char16_t>(((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu));
      i += 3;
      continue;
    }
    char32_t cp;
    std::size_t n;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      n = 1, cp = b0 & 0x1Fu, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      n = 2, cp = b0 & 0x0Fu, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      n = 3, cp = b0 & 0x07u, min = 0x10000;
    } else {
      return std::nullopt;  // stray continuation, C0/C1 overlong lead, F5..FF
    }
    if (size - i <= n) return std::nullopt;  // truncated
    for (std::size_t k = 1; k <= n; ++k) {
      const std::uint8_t b = data[i + k];
      if ((b & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    if (cp < 0x10000) {
      *o++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    i += n + 1;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::u16string DecodeUtf16(const std::uint8_t* data, std::size_t size, bool big_endian) {
  std::u16string out(size / 2, u'\0');
  for (std::size_t k = 0; k < out.size(); ++k) {
    const std::uint8_t a = data[2 * k], b = data[2 * k + 1];
    out[k] = big_endian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>((b << 8) | a);
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) { return ToUtf8(text); }

Bytes EncodeUtf16(std::u16string_view text, bool big_endian) {
  Bytes out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    const auto hi = static_cast<std::uint8_t>(c >> 8), lo = static_cast<std::uint8_t>(c & 0xFF);
    out.push_back(big_endian ? hi : lo);
    out.push_back(big_endian ? lo : hi);
  }
  return out;
}

std::u16string_view UpToNul(std::u16string_view text) {
  const auto nul = text.find(u'\0');
  return nul == std::u16string_view::npos ? text : text.substr(0, nul);
}

std::vector<std::u16string_view> SplitLineViews(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  const char16_t* const begin = text.data();
  const char16_t* const end = begin + text.size();
  const char16_t* start = begin;
  for (const char16_t* p = begin; p != end; ++p) {
    const char16_t c = *p;
    // One compare rules out nearly every unit: the breaks and NUL are below 14.
    if (c > u'\r') continue;
    if (c == u'\0') {
      // The text ends at its first U+0000.
      if (p != start) lines.emplace_back(start, static_cast<std::size_t>(p - start));
      return lines;
    }
    if (c != u'\r' && c != u'\n') continue;
    lines.emplace_back(start, static_cast<std::size_t>(p - start));
    if (c == u'\r' && p + 1 != end && p[1] == u'\n') ++p;
    start = p + 1;
  }
  if (start != end) lines.emplace_back(start, static_cast<std::size_t>(end - start));
  return lines;
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  const auto views = SplitLineViews(text);
  return {views.begin(), views.end()};
}

Bytes ReadFileBytes(platform::Files& files, std::u16string_view path) {
  try {
    return files.ReadAll(path);
  } catch (const OsFailure& failure) {
    throw UserError(messages::CannotOpenFile(path, failure.reason()));
  }
}

std::u16string DecodeUtf8File(const Bytes& bytes) {
  const Mark mark = DetectMark(bytes.data(), bytes.size());
  const std::size_t skip = mark.encoding == Encoding::kUtf8Bom ? mark.length : 0;
  auto text = DecodeUtf8Strict(bytes.data() + skip, bytes.size() - skip);
  if (!text) throw UserError(std::u16string(messages::kMappingError));
  return std::move(*text);
}

std::vector<std::u16string> ReadUtf8Lines(platform::Files& files, std::u16string_view path) {
  return SplitLines(DecodeUtf8File(ReadFileBytes(files, path)));
}

}  // namespace quillomi::phrases
