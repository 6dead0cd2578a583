#include "phrases/settings.h"

#include <limits>

#include "phrases/safe_write.h"
#include "phrases/text_file.h"
#include "platform/utf.h"

namespace quillomi::phrases {

namespace {

// Control characters count as blanks too.
std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}

// Only ASCII letters are folded: every name the program uses is ASCII, and the
// document must not depend on the user's locale.
char16_t UpperAscii(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

// A bare line is no one's entry.
bool IsEntryFor(std::u16string_view line, std::u16string_view key) {
  const auto equals = line.find(u'=');
  return equals != std::u16string_view::npos && SameName(line.substr(0, equals), key);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::u16string SettingsFilePath(std::u16string_view executable_path) {
  return std::u16string(executable_path) + u"_ユーザー設定.ini";
}

std::optional<std::int32_t> ParseSettingsInteger(std::u16string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';

  bool hex = false;
  if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }

  const std::size_t first_digit = i;
  if (hex) {
    std::uint32_t pattern = 0;
    for (int digit; i < n && (digit = HexDigit(text[i])) >= 0; ++i) {
      if (i - first_digit == 8) return std::nullopt;
      pattern = (pattern << 4) | static_cast<std::uint32_t>(digit);
    }
    if (i == first_digit || i != n) return std::nullopt;
    // A sign applies to the 32-bit pattern with wrap-around: "-$80000000" is INT32_MIN.
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }

  const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                      : std::int64_t{std::numeric_limits<std::int32_t>::max()};
  std::int64_t magnitude = 0;
  for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - u'0');
    if (magnitude > limit) return std::nullopt;
  }
  if (i == first_digit || i != n) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

SettingsDocument SettingsDocument::Open(platform::Files& files, std::u16string path) {
  SettingsDocument document(files, std::move(path));
  if (!files.IsRegularFile(document.path_)) return document;

  SettingsSection* current = nullptr;
  for (const std::u16string& raw : ReadUtf8Lines(files, document.path_)) {
    const std::u16string_view line = Trim(raw);
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[' && line.back() == u']') {
      // Appended even when the name is already there: lookups find the first,
      // and a save writes both back.
      document.sections_.push_back({std::u16string(Trim(line.substr(1, line.size() - 2))), {}});
      current = &document.sections_.back();
      continue;
    }
    if (current == nullptr) continue;
    if (const auto equals = line.find(u'='); equals != std::u16string_view::npos) {
      std::u16string entry(Trim(line.substr(0, equals)));
      entry += u'=';
      entry += Trim(line.substr(equals + 1));
      current->lines.push_back(std::move(entry));
    } else {
      current->lines.emplace_back(line);
    }
  }
  return document;
}

SettingsDocument SettingsDocument::OpenForExecutable(platform::Files& files) {
  return Open(files, SettingsFilePath(files.ExecutablePath()));
}

std::size_t SettingsDocument::FindSection(std::u16string_view name) const {
  std::size_t index = 0;
  while (index < sections_.size() && !SameName(sections_[index].name, name)) ++index;
  return index;
}

std::int32_t SettingsDocument::ReadInteger(std::u16string_view section, std::u16string_view key,
                                           std::int32_t default_value) const {
  const std::size_t index = FindSection(section);
  if (index == sections_.size()) return default_value;
  for (std::u16string_view line : sections_[index].lines) {
    if (IsEntryFor(line, key))
      return ParseSettingsInteger(line.substr(line.find(u'=') + 1)).value_or(default_value);
  }
  return default_value;
}

bool SettingsDocument::ReadFlag(std::u16string_view section, std::u16string_view key,
                                bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void SettingsDocument::WriteInteger(std::u16string_view section, std::u16string_view key,
                                    std::int32_t value) {
  const std::size_t index = FindSection(section);
  if (index == sections_.size()) sections_.push_back({std::u16string(section), {}});
  SettingsSection& found = sections_[index];
  std::u16string line = std::u16string(key) + u'=' + Decimal(value);
  for (auto& existing : found.lines) {
    if (IsEntryFor(existing, key)) {
      existing = std::move(line);
      return;
    }
  }
  found.lines.push_back(std::move(line));
}

platform::Bytes SettingsDocument::Serialize() const {
  std::u16string text;
  for (const auto& section : sections_) {
    text += u'[';
    text += section.name;
    text += u"]\r\n";
    for (const auto& line : section.lines) {
      text += line;
      text += u"\r\n";
    }
    text += u"\r\n";
  }
  const std::string utf8 = "\xEF\xBB\xBF" + ToUtf8(text);
  return {utf8.begin(), utf8.end()};
}

void SettingsDocument::Save() const {
  SaveFileSafely(*files_, path_, Serialize());
}

}  // namespace quillomi::phrases
