#include "phrases/text_file.h"

#include <cstring>

#include "platform/errors.h"

namespace quillomi::phrases {

Mark DetectMark(const std::uint8_t* data, std::size_t size) {
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
    return {Encoding::kUtf8, 3};
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return {Encoding::kUtf16Le, 2};
  if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return {Encoding::kUtf16Be, 2};
  return {Encoding::kAnsi, 0};
}

namespace {

// Strict UTF-8: put(unit) for each UTF-16 unit in order; false at the first
// invalid sequence.
template <class Put>
bool DecodeUtf8(const std::uint8_t* data, std::size_t size, Put put) {
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t b0 = data[i];
    if (b0 < 0x80) {
      // Runs of ASCII are the bulk of every file: eight bytes at a time.
      for (std::uint64_t eight; size - i >= 8; i += 8) {
        std::memcpy(&eight, data + i, sizeof eight);
        if ((eight & 0x8080808080808080) != 0) break;
        for (std::size_t k = 0; k < 8; ++k) put(data[i + k]);
      }
      for (; i < size && data[i] < 0x80; ++i) put(data[i]);
      continue;
    }
    // Kana and kanji: three bytes that no lead from E1 to EC can make overlong
    // or a surrogate.
    if (b0 >= 0xE1 && b0 <= 0xEC && size - i > 2 && (data[i + 1] & 0xC0) == 0x80 &&
        (data[i + 2] & 0xC0) == 0x80) {
      put(static_cast<char16_t>(((b0 & 0x0Fu) << 12) | ((data[i + 1] & 0x3Fu) << 6) |
                                (data[i + 2] & 0x3Fu)));
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
      return false;  // stray continuation, C0/C1 overlong lead, F5..FF
    }
    if (size - i <= n) return false;  // truncated
    for (std::size_t k = 1; k <= n; ++k) {
      const std::uint8_t b = data[i + k];
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp < 0x10000) {
      put(static_cast<char16_t>(cp));
    } else {
      cp -= 0x10000;
      put(static_cast<char16_t>(0xD800 + (cp >> 10)));
      put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
    i += n + 1;
  }
  return true;
}

}  // namespace

std::optional<std::u16string> DecodeUtf8Strict(const std::uint8_t* data, std::size_t size) {
  // No sequence gives more units than it has bytes.
  std::u16string out(size, u'\0');
  char16_t* o = out.data();
  if (!DecodeUtf8(data, size, [&](char16_t c) { *o++ = c; })) return std::nullopt;
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

namespace {

// Calls line(view) for each line of text by the shared rule.
template <class Line>
void ForEachLine(std::u16string_view text, Line line) {
  const char16_t* const end = text.data() + text.size();
  const char16_t* start = text.data();
  for (const char16_t* p = start;; ++p) {
    // The text's end stands for a U+0000.
    const char16_t c = p == end ? u'\0' : *p;
    // One compare rules out nearly every unit: the breaks and NUL are below 14.
    if (c > u'\r' || (c != u'\r' && c != u'\n' && c != u'\0')) continue;
    if (c != u'\0' || p != start)
      line(std::u16string_view(start, static_cast<std::size_t>(p - start)));
    if (c == u'\0') return;
    if (c == u'\r' && p + 1 != end && p[1] == u'\n') ++p;
    start = p + 1;
  }
}

}  // namespace

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  ForEachLine(text, [&](std::u16string_view line) { lines.emplace_back(line); });
  return lines;
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
  const std::size_t skip = mark.encoding == Encoding::kUtf8 ? mark.length : 0;
  auto decoded = DecodeUtf8Strict(bytes.data() + skip, bytes.size() - skip);
  if (!decoded) throw UserError(std::u16string(messages::kMappingError));
  return std::move(*decoded);
}

std::vector<std::u16string> ReadUtf8Lines(platform::Files& files, std::u16string_view path) {
  return SplitLines(DecodeUtf8File(ReadFileBytes(files, path)));
}

PackedLines DecodeUtf8FileLines(const Bytes& bytes, char16_t flag) {
  const Mark mark = DetectMark(bytes.data(), bytes.size());
  const std::size_t skip = mark.encoding == Encoding::kUtf8 ? mark.length : 0;
  PackedLines lines;
  // No sequence gives more units than it has bytes.
  lines.text.resize(bytes.size() - skip);
  char16_t* const begin = lines.text.data();
  char16_t* out = begin;
  // The shared rule, unit by unit as they are decoded: a CR ends a line and
  // swallows the LF after it; the first NUL ends the text but not the checks.
  bool flagged = false, after_cr = false, ended = false;
  const auto end_line = [&] {
    lines.flagged.push_back(flagged);
    lines.starts.push_back(static_cast<std::size_t>(out - begin));
    flagged = false;
  };
  const auto put = [&](char16_t c) {
    if (ended) return;
    if (c > u'\r' || (c != u'\r' && c != u'\n' && c != u'\0')) {
      flagged |= c == flag;
      *out++ = c;
    } else if (c == u'\0') {
      ended = true;
    } else if (c == u'\r' || !after_cr) {
      end_line();
    }
    after_cr = c == u'\r';
  };
  if (!DecodeUtf8(bytes.data() + skip, bytes.size() - skip, put))
    throw UserError(std::u16string(messages::kMappingError));
  if (begin + lines.starts.back() != out) end_line();
  lines.text.resize(lines.starts.back());
  return lines;
}

}  // namespace quillomi::phrases
