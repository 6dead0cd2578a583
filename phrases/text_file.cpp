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

// The shared rule, unit by unit as feed(put) hands them over, packed into a
// buffer of capacity units: a CR ends a line and swallows the LF after it;
// the first NUL ends the text but not the feed, which still checks the rest.
template <class Feed>
PackedLines PackLines(std::size_t capacity, char16_t flag, Feed feed) {
  PackedLines lines;
  lines.text.resize(capacity);
  char16_t* const begin = lines.text.data();
  char16_t* out = begin;
  bool flagged = false, after_cr = false, ended = false;
  const auto end_line = [&] {
    lines.flagged.push_back(flagged);
    lines.starts.push_back(static_cast<std::size_t>(out - begin));
    flagged = false;
  };
  const auto put = [&](char16_t c) {
    if (ended) return;
    // One compare rules out nearly every unit: the breaks and NUL are below 14.
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
  if (!feed(put)) throw UserError(std::u16string(messages::kMappingError));
  if (begin + lines.starts.back() != out) end_line();
  lines.text.resize(lines.starts.back());
  return lines;
}

std::vector<std::u16string> Unpacked(const PackedLines& lines) {
  std::vector<std::u16string> out;
  out.reserve(lines.flagged.size());
  for (std::size_t k = 0; k + 1 < lines.starts.size(); ++k)
    out.emplace_back(lines.text, lines.starts[k], lines.starts[k + 1] - lines.starts[k]);
  return out;
}

}  // namespace

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  return Unpacked(PackLines(text.size(), u'\0', [&](auto put) {
    for (char16_t c : text) put(c);
    return true;
  }));
}

Bytes ReadFileBytes(platform::Files& files, std::u16string_view path) {
  try {
    return files.ReadAll(path);
  } catch (const OsFailure& failure) {
    throw UserError(messages::CannotOpenFile(path, failure.reason()));
  }
}

std::vector<std::u16string> ReadUtf8Lines(platform::Files& files, std::u16string_view path) {
  return Unpacked(DecodeUtf8FileLines(ReadFileBytes(files, path), u'\0'));
}

PackedLines DecodeUtf8FileLines(const Bytes& bytes, char16_t flag) {
  const Mark mark = DetectMark(bytes.data(), bytes.size());
  const std::size_t skip = mark.encoding == Encoding::kUtf8 ? mark.length : 0;
  // No sequence gives more units than it has bytes.
  return PackLines(bytes.size() - skip, flag, [&](auto put) {
    return DecodeUtf8(bytes.data() + skip, bytes.size() - skip, put);
  });
}

}  // namespace quillomi::phrases
