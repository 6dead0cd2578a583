#include "phrases/button_file.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "phrases/safe_write.h"
#include "platform/errors.h"
#include "platform/utf.h"

namespace quillomi::phrases {

namespace {

std::u16string Joined(std::u16string_view directory, std::u16string_view name) {
  return std::u16string(directory) + std::u16string(name);
}

void CopyIfMissing(platform::Files& files, std::u16string_view from, std::u16string_view to) {
  if (files.IsRegularFile(to)) return;
  try {
    files.Copy(from, to);
  } catch (const OsFailure& failure) {
    throw UserError(failure.reason());
  }
}

// The file's characters as the reading saw them, by their bytes. UTF-16 has
// two bytes a code unit, in the mark's order; UTF-8 is walked byte by byte, as
// CR, LF and NUL never occur inside a multi-byte character. The ANSI code page
// may read a lead byte and the byte after it as one character even when that
// byte is CR, LF or NUL (Wine's code page 932 decoder does, making them one
// unknown character): whether two bytes are one character is asked of the
// code page's own decoder, so the walk finds exactly the breaks that the
// reading found. Every ANSI code page reads bytes below 0x80 alone.
class Characters {
 public:
  Characters(platform::Text& text, Encoding encoding, const platform::Bytes& bytes)
      : text_(text),
        bytes_(bytes),
        width_(encoding == Encoding::kUtf16Le || encoding == Encoding::kUtf16Be ? 2 : 1),
        big_endian_(encoding == Encoding::kUtf16Be),
        ansi_(encoding == Encoding::kAnsi) {}

  std::size_t width() const { return width_; }

  // The length in bytes of the character at pos; 0 when no whole one is left
  // (a trailing odd byte of UTF-16).
  std::size_t LengthAt(std::size_t pos) {
    if (pos + width_ > bytes_.size()) return 0;
    if (!ansi_ || bytes_[pos] < 0x80 || pos + 1 == bytes_.size()) return width_;
    // Decoded once for each pair of bytes met, not once for each place.
    if (pairs_.empty()) pairs_.resize(0x80 * 0x100);
    std::uint8_t& length =
        pairs_[static_cast<std::size_t>(bytes_[pos] - 0x80) << 8 | bytes_[pos + 1]];
    if (length == 0) length = text_.DecodeAnsi(bytes_.data() + pos, 2).size() == 1 ? 2 : 1;
    return length;
  }

  // The code unit of a character of one unit; U+FFFF for a longer one.
  char16_t UnitAt(std::size_t pos, std::size_t length) const {
    if (length != width_) return u'\uFFFF';
    if (width_ == 1) return bytes_[pos];
    const unsigned first = bytes_[pos], second = bytes_[pos + 1];
    return static_cast<char16_t>(big_endian_ ? (first << 8) | second : (second << 8) | first);
  }

  void AppendLineBreak(platform::Bytes& out) const {
    for (char16_t unit : {u'\r', u'\n'}) {
      if (width_ == 2 && big_endian_) out.push_back(0);
      out.push_back(static_cast<std::uint8_t>(unit));
      if (width_ == 2 && !big_endian_) out.push_back(0);
    }
  }

 private:
  platform::Text& text_;
  const platform::Bytes& bytes_;
  std::size_t width_;
  bool big_endian_;
  bool ansi_;
  // By lead byte − 0x80 and next byte: 0 unknown, else the length.
  std::vector<std::uint8_t> pairs_;
};

platform::Bytes Encode(platform::Text& text, Encoding encoding, std::u16string_view s) {
  if (encoding == Encoding::kAnsi) return text.EncodeAnsi(s);
  if (encoding != Encoding::kUtf8) return EncodeUtf16(s, encoding == Encoding::kUtf16Be);
  const std::string utf8 = ToUtf8(s);
  return {utf8.begin(), utf8.end()};
}

// The file as the filling-up writes it. Rather than re-encoding the lines that
// were read, it edits the file's own bytes: every line break becomes CR LF, the
// last line gets one, and the placeholders go in where the readable text ends.
// For a well-formed file that is byte for byte what writing the lines gives;
// in addition nothing that the reading skipped is lost — bytes the ANSI code page
// does not map back, the text after a U+0000, a trailing odd byte of UTF-16 —
// and the next start reads 59 lines, so the filling-up is not repeated.
platform::Bytes FilledUp(platform::Text& text, const platform::Bytes& original,
                         const ButtonFileText& decoded, std::size_t line_count) {
  Characters characters(text, decoded.encoding, original);
  const std::size_t size = original.size();
  const std::size_t begin = decoded.mark_length;

  platform::Bytes out;
  out.reserve(size + 2 * characters.width() + 16 * kPhraseButtonCount);
  out.insert(out.end(), original.begin(), original.begin() + static_cast<std::ptrdiff_t>(begin));
  // Up to the first U+0000, or to the end of the whole characters.
  bool ends_with_break = true;
  std::size_t end = begin;
  for (std::size_t length; (length = characters.LengthAt(end)) != 0; end += length) {
    const char16_t unit = characters.UnitAt(end, length);
    if (unit == u'\0') break;
    ends_with_break = unit == u'\r' || unit == u'\n';
    if (!ends_with_break) {
      out.insert(out.end(), original.begin() + static_cast<std::ptrdiff_t>(end),
                 original.begin() + static_cast<std::ptrdiff_t>(end + length));
      continue;
    }
    characters.AppendLineBreak(out);
    const std::size_t next = end + length;
    const std::size_t next_length = characters.LengthAt(next);
    if (unit == u'\r' && next_length != 0 && characters.UnitAt(next, next_length) == u'\n') {
      end = next;
    }
  }
  if (!ends_with_break) characters.AppendLineBreak(out);

  std::u16string placeholders;
  for (auto n = static_cast<int>(line_count) + 1; n <= kPhraseButtonCount; ++n) {
    placeholders += PlaceholderLine(n);
    placeholders += u"\r\n";
  }
  const platform::Bytes encoded = Encode(text, decoded.encoding, placeholders);
  out.insert(out.end(), encoded.begin(), encoded.end());
  out.insert(out.end(), original.begin() + static_cast<std::ptrdiff_t>(end), original.end());
  return out;
}

void ShowButtons(const std::vector<std::u16string>& lines, ButtonView& buttons) {
  const std::size_t count = std::min(lines.size(), static_cast<std::size_t>(kPhraseButtonCount));
  for (std::size_t i = 0; i < count; ++i) {
    buttons.SetButton(static_cast<int>(i + 1), std::u16string(ButtonCaption(ButtonLabel(lines[i]))),
                      std::u16string(ButtonHint(lines[i])));
  }
}

}  // namespace

std::u16string ProgramDirectory(std::u16string_view executable_path) {
  const auto last = executable_path.find_last_of(u"\\/:");
  return std::u16string(last == std::u16string_view::npos ? std::u16string_view()
                                                          : executable_path.substr(0, last + 1));
}

DataFilePaths ResolveDataFilePaths(std::u16string_view executable_path) {
  const std::u16string directory = ProgramDirectory(executable_path);
  return {Joined(directory, kListTemplateName), Joined(directory, kListFileName),
          Joined(directory, kButtonTemplateName), Joined(directory, kButtonFileName)};
}

Preparation PrepareDataFiles(platform::Platform& platform, const DataFilePaths& paths) {
  platform::Files& files = platform.files;
  if (!files.IsRegularFile(paths.sListText0)) {
    platform.dialogs.ShowMessage(u"Quillomi_Lst.dll が見つかりません。アプリを終了します。");
    return Preparation::kEndApplication;
  }
  CopyIfMissing(files, paths.sListText0, paths.sListText1);
  if (!files.IsRegularFile(paths.sBtnText0)) {
    platform.dialogs.ShowMessage(u"Quillomi_Btn.dll が見つかりません。アプリを終了します。");
    return Preparation::kEndApplication;
  }
  CopyIfMissing(files, paths.sBtnText0, paths.sBtnText1);
  return Preparation::kReady;
}

std::u16string_view ButtonLabel(std::u16string_view line) {
  // "^.*\[" removes up to the last "[", then "\].*$" from the first "]" on.
  if (const auto open = line.rfind(u'['); open != std::u16string_view::npos) {
    line.remove_prefix(open + 1);
  }
  return line.substr(0, line.find(u']'));
}

std::u16string_view ButtonCaption(std::u16string_view label) {
  return label.substr(0, 5);
}

std::u16string_view ButtonHint(std::u16string_view line) {
  // "^.*\[.*\]" reaches the last "]" if any "[" stands before it.
  const auto close = line.rfind(u']');
  if (close == std::u16string_view::npos) return line;
  if (line.substr(0, close).find(u'[') == std::u16string_view::npos) return line;
  return line.substr(close + 1);
}

std::u16string PlaceholderLine(int number) {
  return u"[" + Decimal(number) + u"]\u3000";
}

ButtonFileText DecodeButtonFile(platform::Text& text, const platform::Bytes& bytes) {
  const Mark mark = DetectMark(bytes.data(), bytes.size());
  const std::uint8_t* body = bytes.data() + mark.length;
  const std::size_t body_size = bytes.size() - mark.length;
  if (mark.encoding == Encoding::kUtf8) {
    auto decoded = DecodeUtf8Strict(body, body_size);
    if (!decoded) throw UserError(std::u16string(messages::kMappingError));
    return {mark.encoding, mark.length, std::move(*decoded)};
  }
  if (mark.encoding != Encoding::kAnsi)
    return {mark.encoding, mark.length,
            DecodeUtf16(body, body_size, mark.encoding == Encoding::kUtf16Be)};
  // UTF-8 without a mark is what Notepad saves. Every kana, kanji, full-width
  // form and Japanese punctuation mark takes three bytes in it, and in valid
  // UTF-8 the bytes E0 and above only start such sequences of three or four.
  // Code page 932 text is valid UTF-8 with only two-byte sequences where its
  // half-width katakana pair up (ﾃｽ is C3 BD), and practically never with a
  // longer one: any kana or common kanji puts a stray byte 81 to 9F in it. So
  // UTF-8 needs a sequence of three bytes or more; ASCII alone reads the same
  // either way and stays the code page's.
  if (std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b >= 0xE0; })) {
    if (auto decoded = DecodeUtf8Strict(bytes.data(), bytes.size())) {
      return {Encoding::kUtf8, 0, std::move(*decoded)};
    }
  }
  return {Encoding::kAnsi, 0, text.DecodeAnsi(bytes.data(), bytes.size())};
}

void LoadButton(platform::Platform& platform, std::u16string_view sBtnText1,
                std::vector<std::u16string>& list_box1, ButtonView& buttons) {
  list_box1.clear();
  list_box1 =
      SplitLines(DecodeButtonFile(platform.text, ReadFileBytes(platform.files, sBtnText1)).text);
  ShowButtons(list_box1, buttons);
}

void FillButtonFile(platform::Platform& platform, std::u16string_view sBtnText1,
                    std::vector<std::u16string>& list_box1, ButtonView& buttons) {
  list_box1.clear();
  const platform::Bytes original = ReadFileBytes(platform.files, sBtnText1);
  const ButtonFileText decoded = DecodeButtonFile(platform.text, original);
  list_box1 = SplitLines(decoded.text);
  if (list_box1.size() < static_cast<std::size_t>(kPhraseButtonCount)) {
    SaveFileSafely(platform.files, sBtnText1,
                   FilledUp(platform.text, original, decoded, list_box1.size()));
    LoadButton(platform, sBtnText1, list_box1, buttons);
    return;
  }
  // Nothing written: the lines just read are the file's; no second read.
  ShowButtons(list_box1, buttons);
}

}  // namespace quillomi::phrases
