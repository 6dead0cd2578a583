#include "phrases/text_file.h"

#include <cstring>
#include <exception>
#include <system_error>
#include <thread>

#include "platform/errors.h"
#include "platform/utf.h"

namespace quillomi::phrases {

Mark DetectMark(const std::uint8_t* data, std::size_t size) {
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
    return {Encoding::kUtf8Bom, 3};
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return {Encoding::kUtf16LeBom, 2};
  if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return {Encoding::kUtf16BeBom, 2};
  return {Encoding::kAnsi, 0};
}

namespace {

// What a decoding needs to know ahead: how many UTF-16 units the bytes decode
// to when well-formed (one for each byte that is no continuation, one more for
// each four-byte lead) and how many LFs and CRs they hold, which a split into
// lines drops. A well-formed start of any bytes decodes to no more units, so a
// buffer this long takes whatever the decoder writes before it finds a fault.
struct Extent {
  std::size_t units = 0;
  std::size_t line_feeds = 0;
  std::size_t carriage_returns = 0;
};
Extent Measure(const std::uint8_t* data, std::size_t size) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kLow7 = 0x7F * kOnes;
  std::size_t continuations = 0, fours = 0, line_feeds = 0, carriage_returns = 0, i = 0;
  // Counts in eight byte lanes, summed across before a lane can overflow.
  const auto sum_lanes = [](std::uint64_t lanes) {
    constexpr std::uint64_t kEven = 0x00FF00FF00FF00FF;
    const std::uint64_t pairs = (lanes & kEven) + (lanes >> 8 & kEven);
    return static_cast<std::size_t>((pairs * 0x0001000100010001) >> 48);
  };
  while (i + 8 <= size) {
    std::uint64_t c = 0, f = 0, l = 0, r = 0;
    for (int k = 0; k < 127 && i + 8 <= size; ++k, i += 8) {
      std::uint64_t x;
      std::memcpy(&x, data + i, sizeof x);
      // Each lane's top bit, brought down to its lowest: top bits 10; top
      // bits 1111; the byte is LF; the byte is CR.
      c += (x & ~(x << 1)) >> 7 & kOnes;
      f += (x & (x << 1) & (x << 2) & (x << 3)) >> 7 & kOnes;
      const std::uint64_t lf = x ^ ('\n' * kOnes);
      l += ~(((lf & kLow7) + kLow7) | lf | kLow7) >> 7 & kOnes;
      const std::uint64_t cr = x ^ ('\r' * kOnes);
      r += ~(((cr & kLow7) + kLow7) | cr | kLow7) >> 7 & kOnes;
    }
    continuations += sum_lanes(c);
    fours += sum_lanes(f);
    line_feeds += sum_lanes(l);
    carriage_returns += sum_lanes(r);
  }
  for (; i < size; ++i) {
    continuations += (data[i] & 0xC0) == 0x80;
    fours += data[i] >= 0xF0;
    line_feeds += data[i] == '\n';
    carriage_returns += data[i] == '\r';
  }
  return {size - continuations + fours, line_feeds, carriage_returns};
}

// Closes lines as the decoder reaches their breaks; a line's end counts from
// the start of the whole text, whichever part of it is being decoded.
struct LineBreaks {
  std::vector<std::size_t>& starts;
  std::vector<std::uint8_t>& flagged_lines;
  const char16_t* begin;
  char16_t flag;
  bool flagged = false;  // the open line's, when a run ends inside one
  bool at_nul = false;

  void Close(const char16_t* end, bool line_flagged) {
    starts.push_back(static_cast<std::size_t>(end - begin));
    flagged_lines.push_back(line_flagged);
  }
};

// Decodes data[i, size) to o, moving both on; false on a malformed sequence.
// With breaks, lines are split as they come and the run stops after a U+0000.
template <bool kSplit>
bool DecodeRun(const std::uint8_t* data, std::size_t size, std::size_t& at, char16_t*& out,
               LineBreaks* breaks) {
  // In registers, not through the references: every unit goes through them.
  std::size_t i = at;
  char16_t* o = out;
  const char16_t flag = kSplit ? breaks->flag : u'\0';
  bool flagged = false;
  const auto done = [&](bool well_formed) {
    at = i;
    out = o;
    if constexpr (kSplit) breaks->flagged = flagged;
    return well_formed;
  };
  while (i < size) {
    const std::uint8_t b0 = data[i];
    if (b0 < 0x80) {
      // Runs of ASCII are the common case in every file: eight bytes at a
      // time while none is above 0x7F or, when splitting, below 14 (the
      // breaks and NUL are).
      constexpr std::uint64_t kOnes = 0x0101010101010101;
      for (; size - i >= 8; i += 8, o += 8) {
        std::uint64_t x;
        std::memcpy(&x, data + i, sizeof x);
        std::uint64_t stop = x;
        if constexpr (kSplit) stop |= (x - 14 * kOnes) & ~x;
        if (stop & 0x80 * kOnes) break;
        for (int k = 0; k < 8; ++k)
          o[k] = static_cast<char16_t>(data[i + static_cast<std::size_t>(k)]);
      }
      if (i == size || data[i] >= 0x80) continue;
      if constexpr (kSplit) {
        do {
          const std::uint8_t b = data[i++];
          // One compare rules out nearly every byte: the breaks and NUL are below 14.
          if (b > '\r' || (b != '\r' && b != '\n' && b != 0)) {
            *o++ = b;
            continue;
          }
          if (b == 0) {
            breaks->at_nul = true;
            return done(true);
          }
          breaks->Close(o, flagged);
          flagged = false;
          if (b == '\r' && i < size && data[i] == '\n') ++i;
        } while (i < size && data[i] < 0x80);
      } else {
        do {
          *o++ = data[i++];
        } while (i < size && data[i] < 0x80);
      }
      continue;
    }
    if (b0 >= 0xE1 && b0 <= 0xEC && size - i > 2) {
      // Kana and kanji: three bytes, no overlong or surrogate forms possible
      // here. The spaces and brackets between them stay in this loop, which
      // a Japanese list switches to and fro with at nearly every word.
      do {
        const std::uint8_t c = data[i];
        if (c < 0x80) {
          if (kSplit && c <= '\r') break;
          *o++ = c;
          ++i;
          continue;
        }
        if (c < 0xE1 || c > 0xEC || size - i <= 2) break;
        const std::uint8_t b1 = data[i + 1], b2 = data[i + 2];
        if ((b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return done(false);
        const auto unit =
            static_cast<char16_t>(((c & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu));
        if constexpr (kSplit) flagged |= unit == flag;
        *o++ = unit;
        i += 3;
      } while (i < size);
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
      return done(false);  // stray continuation, C0/C1 overlong lead, F5..FF
    }
    if (size - i <= n) return done(false);  // truncated
    for (std::size_t k = 1; k <= n; ++k) {
      const std::uint8_t b = data[i + k];
      if ((b & 0xC0) != 0x80) return done(false);
      cp = (cp << 6) | (b & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return done(false);
    if (cp < 0x10000) {
      if constexpr (kSplit) flagged |= cp == flag;
      *o++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    i += n + 1;
  }
  return done(true);
}

}  // namespace

std::optional<std::u16string> DecodeUtf8Strict(const std::uint8_t* data, std::size_t size) {
  std::u16string out(Measure(data, size).units, u'\0');
  char16_t* o = out.data();
  std::size_t i = 0;
  if (!DecodeRun<false>(data, size, i, o, nullptr)) return std::nullopt;
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

namespace {

// Decodes bytes that start a line, splitting them into lines; `out` is left
// where the text stops, at its end or at its first U+0000. The bytes after a
// U+0000 must be well-formed as for any other reader; they are decoded aside,
// as the room after the text may be another half's.
bool DecodeLines(const std::uint8_t* data, std::size_t size, char16_t*& out, LineBreaks& breaks) {
  std::size_t i = 0;
  if (!DecodeRun<true>(data, size, i, out, &breaks)) return false;
  if (!breaks.at_nul) return true;
  std::u16string rest(Measure(data + i, size - i).units, u'\0');
  char16_t* o = rest.data();
  return DecodeRun<false>(data, size, i, o, nullptr);
}

// Runs `first` here and `second` on a thread of its own, when one can be had;
// an exception of either comes out here, after both have ended.
template <class First, class Second>
void RunBoth(First first, Second second) {
  std::exception_ptr failure;
  std::optional<std::thread> thread;
  const auto guarded = [&] {
    try {
      second();
    } catch (...) {
      failure = std::current_exception();
    }
  };
  try {
    thread.emplace(guarded);
  } catch (const std::system_error&) {
  }
  try {
    first();
  } catch (...) {
    if (thread) thread->join();
    throw;
  }
  if (thread) {
    thread->join();
  } else {
    guarded();
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace

std::optional<PackedLines> DecodeUtf8LinesStrict(const std::uint8_t* data, std::size_t size,
                                                 char16_t flag, std::size_t split_from) {
  PackedLines lines;
  // A split after an LF is on a character's and a line's boundary; the first
  // half's measure tells where the second half's text begins.
  const void* line_feed =
      size >= split_from && size > 1 ? std::memchr(data + size / 2, '\n', size - size / 2) : nullptr;
  const std::size_t split =
      line_feed ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(line_feed) - data) + 1
                : size;
  const std::uint8_t* const second = data + split;
  const std::size_t second_size = size - split;
  Extent first_extent, second_extent;
  if (second_size == 0) {
    first_extent = Measure(data, size);
  } else {
    RunBoth([&] { first_extent = Measure(data, split); },
            [&] { second_extent = Measure(second, second_size); });
  }
  lines.text.resize(first_extent.units + second_extent.units);
  // Room for the lines of a file with LF or CR LF breaks; CR alone is rare.
  lines.starts.reserve(first_extent.line_feeds + second_extent.line_feeds + 2);
  lines.flagged.reserve(first_extent.line_feeds + second_extent.line_feeds + 1);
  char16_t* const begin = lines.text.data();
  char16_t* o = begin;
  LineBreaks breaks{lines.starts, lines.flagged, begin, flag};
  bool well_formed = false;
  if (second_size == 0) {
    well_formed = DecodeLines(data, size, o, breaks);
  } else {
    std::vector<std::size_t> second_starts;
    std::vector<std::uint8_t> second_flagged;
    second_starts.reserve(second_extent.line_feeds + 1);
    second_flagged.reserve(second_extent.line_feeds + 1);
    // The breaks are the units the first half measured but does not write.
    char16_t* second_out = begin + first_extent.units - first_extent.line_feeds -
                           first_extent.carriage_returns;
    LineBreaks second_breaks{second_starts, second_flagged, begin, flag};
    bool second_well_formed = false;
    RunBoth([&] { well_formed = DecodeLines(data, split, o, breaks); },
            [&] { second_well_formed = DecodeLines(second, second_size, second_out, second_breaks); });
    well_formed = well_formed && second_well_formed;
    // Unless the text stopped in the first half, it ended on that half's last
    // LF, and the second half's lines follow.
    if (well_formed && !breaks.at_nul) {
      lines.starts.insert(lines.starts.end(), second_starts.begin(), second_starts.end());
      lines.flagged.insert(lines.flagged.end(), second_flagged.begin(), second_flagged.end());
      o = second_out;
      breaks.flagged = second_breaks.flagged;
    }
  }
  if (!well_formed) return std::nullopt;
  // A last line without a break after it; a break at the very end adds none.
  if (static_cast<std::size_t>(o - begin) != lines.starts.back()) breaks.Close(o, breaks.flagged);
  lines.text.resize(lines.starts.back());
  return lines;
}

std::u16string DecodeUtf16(const std::uint8_t* data, std::size_t size, bool big_endian) {
  std::u16string out(size / 2, u'\0');
  for (std::size_t k = 0; k < out.size(); ++k) {
    const std::uint8_t a = data[2 * k], b = data[2 * k + 1];
    out[k] = big_endian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>((b << 8) | a);
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view text) {
  return ToUtf8(text);
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

namespace {

// The bytes after a UTF-8 mark, decoded by `decode`; the mapping error when malformed.
template <class Decode>
auto DecodeUtf8Body(const Bytes& bytes, Decode decode) {
  const Mark mark = DetectMark(bytes.data(), bytes.size());
  const std::size_t skip = mark.encoding == Encoding::kUtf8Bom ? mark.length : 0;
  auto decoded = decode(bytes.data() + skip, bytes.size() - skip);
  if (!decoded) throw UserError(std::u16string(messages::kMappingError));
  return std::move(*decoded);
}

}  // namespace

std::u16string DecodeUtf8File(const Bytes& bytes) {
  return DecodeUtf8Body(bytes, DecodeUtf8Strict);
}

PackedLines DecodeUtf8FileLines(const Bytes& bytes, char16_t flag) {
  return DecodeUtf8Body(bytes, [flag](const std::uint8_t* data, std::size_t size) {
    return DecodeUtf8LinesStrict(data, size, flag);
  });
}

std::vector<std::u16string> ReadUtf8Lines(platform::Files& files, std::u16string_view path) {
  return SplitLines(DecodeUtf8File(ReadFileBytes(files, path)));
}

}  // namespace quillomi::phrases
