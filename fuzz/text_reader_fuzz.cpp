// Any bytes as a data file: byte-order marks, strict UTF-8, UTF-16 in both
// orders, line splitting, and the button file's decoding and filling-up.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "phrases/button_file.h"
#include "phrases/text_file.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "platform/utf.h"

namespace {

using quillomi::UserError;
using quillomi::fuzz::IsHighSurrogate;
using quillomi::fuzz::IsLowSurrogate;
using quillomi::fuzz::IsWellFormedUtf8;
using quillomi::fuzz::Require;
using quillomi::platform::Bytes;
namespace phrases = quillomi::phrases;
using phrases::Encoding;

const std::u16string kButtonPath = u"C:\\Games\\Quillomi\\QLMO_ボタン_ユーザー設定.txt";

// The lines by the rule itself: up to the first U+0000, every break made one
// LF, then cut at each LF; a final LF opens no line.
std::vector<std::u16string> ReferenceLines(std::u16string_view text) {
  std::u16string flat;
  for (std::size_t i = 0; i < text.size() && text[i] != u'\0'; ++i) {
    if (text[i] != u'\r') {
      flat += text[i];
      continue;
    }
    flat += u'\n';
    if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
  }
  std::vector<std::u16string> lines;
  std::u16string line;
  for (char16_t c : flat) {
    if (c != u'\n') {
      line += c;
      continue;
    }
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// What UTF-8 can carry of a UTF-16 text: a lone surrogate becomes U+FFFD.
std::u16string Scrubbed(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out += text[i];
      out += text[++i];
    } else {
      out += IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]) ? u'\uFFFD' : text[i];
    }
  }
  return out;
}

void CheckUtf8(const std::uint8_t* data, std::size_t size) {
  const auto decoded = phrases::DecodeUtf8Strict(data, size);
  Require(decoded.has_value() == IsWellFormedUtf8(data, size),
          "strict decoding accepts exactly the well-formed sequences");
  if (decoded) {
    const std::string again = quillomi::ToUtf8(*decoded);
    Require(again.size() == size && std::equal(again.begin(), again.end(), data,
                                               [](char a, std::uint8_t b) {
                                                 return static_cast<std::uint8_t>(a) == b;
                                               }),
            "valid UTF-8 decodes and encodes back to the same bytes");
  }
}

void CheckUtf16(const std::uint8_t* data, std::size_t size) {
  for (bool big_endian : {false, true}) {
    const std::u16string units = phrases::DecodeUtf16(data, size, big_endian);
    Require(units.size() == size / 2, "one unit per two bytes");
    const Bytes again = phrases::EncodeUtf16(units, big_endian);
    Require(std::equal(again.begin(), again.end(), data, data + size - size % 2),
            "UTF-16 decodes and encodes back to the same bytes");

    // Whatever UTF-16 holds, its UTF-8 form is valid and decodes back.
    const std::string utf8 = quillomi::ToUtf8(units);
    const auto back =
        phrases::DecodeUtf8Strict(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size());
    Require(back.has_value() && *back == Scrubbed(units),
            "encoded UTF-8 decodes back, lone surrogates as U+FFFD");

    Require(phrases::SplitLines(units) == ReferenceLines(units),
            "lines split at CR LF, LF and CR, up to U+0000");
  }
}

// The list reader: an optional UTF-8 mark, then strict UTF-8, into one buffer,
// with the flag reached through each decoding path.
void CheckUtf8File(const Bytes& bytes) {
  const std::size_t skip =
      phrases::DetectMark(bytes.data(), bytes.size()).encoding == Encoding::kUtf8 ? 3 : 0;
  const bool valid = IsWellFormedUtf8(bytes.data() + skip, bytes.size() - skip);
  for (char16_t flag : {u'\u25C6', u'\u00E9', u'\uFF01', u'a'}) {
    try {
      const auto packed = phrases::DecodeUtf8FileLines(bytes, flag);
      Require(valid, "only valid UTF-8 reads into one buffer");
      const auto lines =
          ReferenceLines(*phrases::DecodeUtf8Strict(bytes.data() + skip, bytes.size() - skip));
      Require(packed.flagged.size() == lines.size() && packed.starts.size() == lines.size() + 1,
              "one buffer holds the same lines");
      for (std::size_t k = 0; k < lines.size(); ++k) {
        Require(
            std::u16string_view(packed.text)
                    .substr(packed.starts[k], packed.starts[k + 1] - packed.starts[k]) == lines[k],
            "one buffer holds the same lines");
        Require((packed.flagged[k] != 0) == (lines[k].find(flag) != std::u16string::npos),
                "a line is flagged when it holds the flag");
      }
    } catch (const UserError& error) {
      Require(!valid && error.text() == quillomi::messages::kMappingError,
              "invalid UTF-8 fails with the mapping error into one buffer too");
    }
  }
}

class RecordingButtons final : public phrases::ButtonView {
 public:
  void SetButton(int number, std::u16string, std::u16string) override { numbers.push_back(number); }
  std::vector<int> numbers;
};

// The button file: decoded by its mark or, without one, by its bytes; a short
// file filled up to 59 lines in its own encoding, its lines kept. Once with a
// code page decoder that reads an unmappable lead byte alone, once with one
// that reads it with the next byte, CR and LF included.
void CheckButtonFile(const Bytes& bytes, bool lead_byte_takes_next) {
  quillomi::fake::FakePlatform platform;
  platform.lead_byte_takes_next = lead_byte_takes_next;
  const phrases::Mark mark = phrases::DetectMark(bytes.data(), bytes.size());
  const std::uint8_t* body = bytes.data() + mark.length;
  const std::size_t body_size = bytes.size() - mark.length;

  phrases::ButtonFileText decoded;
  try {
    decoded = phrases::DecodeButtonFile(platform, bytes);
  } catch (const UserError& error) {
    Require(mark.encoding == Encoding::kUtf8 && !IsWellFormedUtf8(body, body_size) &&
                error.text() == quillomi::messages::kMappingError,
            "only bad UTF-8 behind its mark fails, with the mapping error");
    platform.files[kButtonPath] = bytes;
    std::vector<std::u16string> list_box1{u"stale"};
    RecordingButtons buttons;
    try {
      phrases::FillButtonFile(platform.Get(), kButtonPath, list_box1, buttons);
      Require(false, "the filling-up fails as the decoding does");
    } catch (const UserError&) {
    }
    Require(platform.files[kButtonPath] == bytes, "a failed read writes nothing");
    Require(list_box1.empty() && buttons.numbers.empty(), "a failed read leaves no lines");
    return;
  }

  Require(decoded.mark_length == mark.length, "the mark's length is skipped");
  switch (mark.encoding) {
    case Encoding::kUtf8:
      Require(decoded.encoding == Encoding::kUtf8 &&
                  decoded.text == *phrases::DecodeUtf8Strict(body, body_size),
              "UTF-8 behind its mark");
      break;
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be:
      Require(decoded.encoding == mark.encoding &&
                  decoded.text ==
                      phrases::DecodeUtf16(body, body_size, mark.encoding == Encoding::kUtf16Be),
              "UTF-16 behind its mark");
      break;
    case Encoding::kAnsi: {
      // In well-formed UTF-8 the bytes E0 to F4 only start sequences of three or four.
      const bool utf8 =
          IsWellFormedUtf8(body, body_size) &&
          std::any_of(body, body + body_size, [](std::uint8_t b) { return b >= 0xE0; });
      if (utf8) {
        Require(decoded.encoding == Encoding::kUtf8 && decoded.mark_length == 0 &&
                    decoded.text == *phrases::DecodeUtf8Strict(body, body_size),
                "valid UTF-8 with a sequence of three bytes or more reads as UTF-8");
      } else {
        Require(decoded.encoding == Encoding::kAnsi &&
                    decoded.text == platform.DecodeAnsi(body, body_size),
                "anything else reads in the ANSI code page");
      }
      break;
    }
  }

  const auto lines = phrases::SplitLines(decoded.text);
  std::vector<std::u16string> expected = lines;
  for (auto n = static_cast<int>(lines.size()) + 1; n <= phrases::kPhraseButtonCount; ++n) {
    expected.push_back(phrases::PlaceholderLine(n));
  }

  platform.files[kButtonPath] = bytes;
  std::vector<std::u16string> list_box1;
  RecordingButtons buttons;
  phrases::FillButtonFile(platform.Get(), kButtonPath, list_box1, buttons);
  const Bytes& written = platform.files[kButtonPath];
  if (lines.size() >= static_cast<std::size_t>(phrases::kPhraseButtonCount)) {
    Require(written == bytes, "a file of 59 lines or more is not written");
  } else {
    const auto reread = phrases::DecodeButtonFile(platform, written);
    Require(reread.encoding == decoded.encoding && reread.mark_length == decoded.mark_length,
            "the filled-up file keeps its encoding and mark");
    Require(phrases::SplitLines(reread.text) == expected,
            "the filled-up file reads as its lines and the placeholders");
  }
  Require(list_box1 == expected, "ListBox1 holds the lines as loaded");
  std::vector<int> numbers(std::min(expected.size(), std::size_t{59}));
  for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<int>(i + 1);
  Require(buttons.numbers == numbers, "buttons 1 to 59 get their lines");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, data + size);
  CheckUtf8(data, size);
  CheckUtf16(data, size);
  CheckUtf8File(bytes);
  CheckButtonFile(bytes, false);
  CheckButtonFile(bytes, true);
  return 0;
}
