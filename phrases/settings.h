// The settings document: the in-memory image of the INI file beside the
// executable, through which every window handler reads and writes its keys.
// A handler opens it, reads or writes, saves (close handlers only) and drops it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace quillomi::phrases {

inline constexpr std::u16string_view kSettingsSection = u"System";

// The executable's full path, extension included, + "_ユーザー設定.ini".
std::u16string SettingsFilePath(std::u16string_view executable_path);

// Lenient integer syntax of the settings file: optional sign, then hex behind
// "$", "x", "X", "0x" or "0X" (at most 8 digits, a 32-bit pattern) or decimal
// within the int32 range. nullopt when the text is no such integer.
std::optional<std::int32_t> ParseSettingsInteger(std::u16string_view text);

struct SettingsSection {
  std::u16string name;
  // "name=value" or a bare line, both as loaded or written.
  std::vector<std::u16string> lines;
  friend bool operator==(const SettingsSection&, const SettingsSection&) = default;
};

class SettingsDocument {
 public:
  // A missing file gives an empty document. Throws UserError when the file
  // cannot be read or is not UTF-8.
  static SettingsDocument Open(platform::Files& files, std::u16string path);
  // The settings file of the running executable.
  static SettingsDocument OpenForExecutable(platform::Files& files);

  // Names compare ignoring ASCII letter case; the first matching section and,
  // in it, the first matching entry win.
  std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                           std::int32_t default_value) const;
  bool ReadFlag(std::u16string_view section, std::u16string_view key, bool default_value) const;
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);

  // The file's new content: UTF-8 with its mark, CR LF after every line.
  platform::Bytes Serialize() const;
  // Replaces the file at the path it was opened from; throws UserError.
  void Save() const;

  const std::u16string& path() const { return path_; }
  const std::vector<SettingsSection>& sections() const { return sections_; }

 private:
  SettingsDocument(platform::Files& files, std::u16string path)
      : files_(&files), path_(std::move(path)) {}

  // Index of the first section of that name, or sections_.size().
  std::size_t FindSection(std::u16string_view name) const;

  platform::Files* files_;
  std::u16string path_;
  std::vector<SettingsSection> sections_;
};

}  // namespace quillomi::phrases
