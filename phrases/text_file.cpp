#include "phrases/text_file.h"

#include <bit>
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

bool IsBreak(unsigned c) {
  return c == u'\r' || c == u'\n' || c == 0;
}

// The shared rule at a break: a CR ends a line and swallows an LF right after
// it, a lone LF ends one too, and the first NUL ends the text. The units the
// break takes, or 0 at a NUL.
template <class Unit>
std::size_t BreakLength(const Unit* at, const Unit* end) {
  if (*at == 0) return 0;
  return *at == u'\r' && at + 1 != end && at[1] == u'\n' ? 2 : 1;
}

// The lines of a text packed back to back: where each ends and whether it
// holds the flag.
class LineSink {
 public:
  explicit LineSink(char16_t the_flag) : flag(the_flag) {}

  void End(std::size_t at) {
    packed_.flagged.push_back(flagged);
    packed_.starts.push_back(at);
    flagged = false;
  }

  // The text, packed up to end.
  PackedLines Finish(std::u16string text, std::size_t end) {
    if (packed_.starts.back() != end) End(end);
    text.resize(packed_.starts.back());
    packed_.text = std::move(text);
    return std::move(packed_);
  }

  const char16_t flag;
  bool flagged = false;  // the line not yet ended

 private:
  PackedLines packed_;
};

// Strict UTF-8 into out, which has room for the units and eight more: the
// units written, or nullopt at the first invalid sequence. With lines, the
// breaks go there and not into out, and a NUL ends the text, though what
// follows it is still checked.
template <bool kLines>
std::optional<std::size_t> DecodeUtf8(const std::uint8_t* data, std::size_t size,
                                      char16_t* const out, LineSink* lines = nullptr) {
  constexpr std::uint64_t kLow = 0x0101010101010101;
  constexpr std::uint64_t kHigh = 0x8080808080808080;
  const char16_t flag = kLines ? lines->flag : u'\0';
  // Bytes of 0x80 stand for a flag above ASCII: they stop a run anyway.
  const std::uint64_t flag_bytes = kLow * (flag < 0x80 ? flag : 0x80u);
  bool flagged = false;
  std::size_t i = 0;
  char16_t* o = out;
  while (i < size) {
    // Between kana the ASCII runs are short: eight bytes are widened at once
    // and as many kept as lead the run, up to a byte that is not ASCII or,
    // with lines, a byte below 14 or the flag. A lane of (x - n) & ~x keeps
    // its high bit where x is below n, and the lowest such lane is exact, as
    // a borrow only runs upwards. The lowest byte in memory is the lowest in
    // the word on little-endian machines only; elsewhere ASCII goes one byte
    // at a time.
    if (std::endian::native == std::endian::little && size - i >= 8) {
      std::uint64_t eight;
      std::memcpy(&eight, data + i, sizeof eight);
#pragma GCC unroll 8
      for (std::size_t k = 0; k < 8; ++k) o[k] = data[i + k];
      std::uint64_t stop = eight;
      if constexpr (kLines) {
        const std::uint64_t other = eight ^ flag_bytes;
        stop |= ((eight - kLow * 14) & ~eight) | ((other - kLow) & ~other);
      }
      const auto run = static_cast<std::size_t>(std::countr_zero(stop & kHigh)) / 8;
      o += run, i += run;
      if (run == 8) continue;
    }
    const std::uint8_t b0 = data[i];
    if (b0 < 0x80) {
      if constexpr (kLines) {
        if (b0 <= u'\r' && IsBreak(b0)) {
          const std::size_t taken = BreakLength(data + i, data + size);
          lines->flagged = flagged;
          flagged = false;
          if (taken == 0) {
            const auto end = static_cast<std::size_t>(o - out);
            if (!DecodeUtf8<false>(data + i + 1, size - i - 1, o)) return std::nullopt;
            return end;
          }
          lines->End(static_cast<std::size_t>(o - out));
          i += taken;
          continue;
        }
        flagged |= b0 == flag;
      }
      *o++ = b0;
      ++i;
      continue;
    }
    // Kana and kanji: three bytes that no lead from E1 to EC can make overlong
    // or a surrogate.
    const auto kana = [&] {
      return size - i > 2 && data[i] >= 0xE1 && data[i] <= 0xEC && (data[i + 1] & 0xC0) == 0x80 &&
             (data[i + 2] & 0xC0) == 0x80;
    };
    if (kana()) {
      // They come in words: the next is tried before the ASCII widening.
      do {
        const auto unit = static_cast<char16_t>(
            ((data[i] & 0x0Fu) << 12) | ((data[i + 1] & 0x3Fu) << 6) | (data[i + 2] & 0x3Fu));
        if constexpr (kLines) flagged |= unit == flag;
        *o++ = unit;
        i += 3;
      } while (kana());
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
    const auto put = [&](char32_t unit) {
      if constexpr (kLines) flagged |= unit == flag;
      *o++ = static_cast<char16_t>(unit);
    };
    if (cp < 0x10000) {
      put(cp);
    } else {
      cp -= 0x10000;
      put(0xD800 + (cp >> 10));
      put(0xDC00 + (cp & 0x3FF));
    }
    i += n + 1;
  }
  if constexpr (kLines) lines->flagged = flagged;
  return static_cast<std::size_t>(o - out);
}

// Room for the units of the bytes and the eight that a widening may write
// past them, zeroed. Each sequence has one lead byte and gives one unit, or
// two from a lead of F0 and up: counted eight bytes at a time, this bounds the
// units whatever the bytes. One unit per byte would leave a kana-heavy list's
// pages unused, and faulting them in was most of its load.
std::u16string UnitRoom(const std::uint8_t* data, std::size_t size) {
  constexpr std::uint64_t kHigh = 0x8080808080808080;
  constexpr std::uint64_t kSum = 0x0101010101010101;  // adds the bytes into the top one
  std::size_t bound = 0;
  std::size_t i = 0;
  for (; size - i >= 8; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, data + i, sizeof w);
    const std::uint64_t trail = w & ~(w << 1) & kHigh;                      // 10xxxxxx
    const std::uint64_t four = w & (w << 1) & (w << 2) & (w << 3) & kHigh;  // 1111xxxx
    bound += 8 - (((trail >> 7) * kSum) >> 56) + (((four >> 7) * kSum) >> 56);
  }
  for (; i < size; ++i)
    bound += std::size_t{(data[i] & 0xC0) != 0x80} + std::size_t{data[i] >= 0xF0};
  return std::u16string(bound + 8, u'\0');
}

}  // namespace

std::optional<std::u16string> DecodeUtf8Strict(const std::uint8_t* data, std::size_t size) {
  std::u16string out = UnitRoom(data, size);
  const auto count = DecodeUtf8<false>(data, size, out.data());
  if (!count) return std::nullopt;
  out.resize(*count);
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

std::vector<std::u16string> Unpacked(const PackedLines& lines) {
  std::vector<std::u16string> out;
  out.reserve(lines.flagged.size());
  for (std::size_t k = 0; k + 1 < lines.starts.size(); ++k)
    out.emplace_back(lines.text, lines.starts[k], lines.starts[k + 1] - lines.starts[k]);
  return out;
}

}  // namespace

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::u16string units(text);
  LineSink lines(u'\0');
  const char16_t* in = units.data();
  const char16_t* const end = in + units.size();
  char16_t* out = units.data();
  while (in != end) {
    if (*in <= u'\r' && IsBreak(*in)) {
      const std::size_t taken = BreakLength(in, end);
      if (taken == 0) break;
      lines.End(static_cast<std::size_t>(out - units.data()));
      in += taken;
      continue;
    }
    *out++ = *in++;
  }
  const auto packed = static_cast<std::size_t>(out - units.data());
  return Unpacked(lines.Finish(std::move(units), packed));
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
  const std::uint8_t* const data = bytes.data() + skip;
  const std::size_t size = bytes.size() - skip;
  // Decoded and split in one pass: a second over the units cost a long list
  // a fifth of its load.
  std::u16string text = UnitRoom(data, size);
  LineSink lines(flag);
  const auto count = DecodeUtf8<true>(data, size, text.data(), &lines);
  if (!count) throw UserError(std::u16string(messages::kMappingError));
  return lines.Finish(std::move(text), *count);
}

}  // namespace quillomi::phrases
