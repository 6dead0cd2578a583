// Any bytes as the settings file: what loads saves and loads back the same, a
// save that fails leaves the file as it was, and a written key reads back.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_support.h"
#include "phrases/safe_write.h"
#include "phrases/settings.h"
#include "phrases/text_file.h"
#include "platform/errors.h"
#include "platform/fake/fake_platform.h"

namespace {

using quillomi::UserError;
using quillomi::fuzz::IsWellFormedUtf8;
using quillomi::fuzz::Require;
using quillomi::phrases::kSettingsSection;
using quillomi::phrases::SettingsDocument;

const std::u16string kPath = u"C:\\Games\\Quillomi\\Quillomi.exe_ユーザー設定.ini";

// The keys the windows read and write, and two spellings that must find them.
constexpr std::array<std::u16string_view, 13> kKeys = {
    u"ShowTitleBar",      u"ClientHeight2",  u"ClientWidth2", u"Bottom2",   u"Left2",
    u"edtTxtVisible",     u"edtTxtFontSize", u"Form3Top",     u"Form3Left", u"Form3ClientWidth",
    u"Form3ClientHeight", u"LEFT2",          u"bottom2"};

// Every key's value, each read with two defaults: the default shows through
// only where there is no readable value.
std::array<std::int32_t, kKeys.size()> ReadAll(const SettingsDocument& document) {
  std::array<std::int32_t, kKeys.size()> values{};
  for (std::size_t k = 0; k < kKeys.size(); ++k) {
    const std::int32_t a = document.ReadInteger(kSettingsSection, kKeys[k], 160);
    const std::int32_t b = document.ReadInteger(kSettingsSection, kKeys[k], -7);
    const bool present = a == b;
    Require(present || (a == 160 && b == -7), "a default is used only for a missing value");
    Require(document.ReadFlag(kSettingsSection, kKeys[k], true) == (!present || b != 0) &&
                document.ReadFlag(kSettingsSection, kKeys[k], false) == (present && b != 0),
            "a flag is its integer not 0, or its default");
    values[k] = b;
  }
  return values;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  const auto upper = [](char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  // 0: the save goes through; 1: writing the new file fails; 2: putting it in place fails.
  const int fault = provider.ConsumeIntegralInRange<int>(0, 2);
  const auto fail_after = provider.ConsumeIntegralInRange<std::size_t>(0, 64);
  const auto key = provider.ConsumeIntegralInRange<std::size_t>(0, kKeys.size() - 1);
  const auto value = provider.ConsumeIntegral<std::int32_t>();
  // What a killed save left under the first temporary name: 0 nothing, 1 a
  // file, 2 a read-only file, 3 a folder, 4 a file another program holds open.
  const int leftover = provider.ConsumeIntegralInRange<int>(0, 4);
  const quillomi::platform::Bytes file = provider.ConsumeRemainingBytes<std::uint8_t>();

  quillomi::fake::FakePlatform platform;
  platform.files[kPath] = file;
  const std::u16string first_temporary = quillomi::phrases::TemporaryPathFor(kPath);
  if (leftover == 1 || leftover == 2 || leftover == 4) platform.files[first_temporary] = file;
  if (leftover == 2) platform.read_only.insert(first_temporary);
  if (leftover == 3) platform.directories.insert(first_temporary);
  if (leftover == 4) platform.held_open.insert(first_temporary);
  // The temporary files are gone after every save, but for what could not be removed.
  const auto no_temporary_left = [&] {
    for (int name = 0; name < quillomi::phrases::kTemporaryNames; ++name) {
      const std::u16string path = quillomi::phrases::TemporaryPathFor(kPath, name);
      if (platform.files.count(path) != 0 && !(name == 0 && leftover == 4)) return false;
    }
    return true;
  };

  const std::size_t skip =
      file.size() >= 3 && file[0] == 0xEF && file[1] == 0xBB && file[2] == 0xBF ? 3 : 0;
  const bool valid = IsWellFormedUtf8(file.data() + skip, file.size() - skip);
  std::optional<SettingsDocument> loaded;
  try {
    loaded = SettingsDocument::Open(platform, kPath);
  } catch (const UserError& error) {
    Require(!valid && error.text() == quillomi::messages::kMappingError,
            "only a file that is not UTF-8 fails to load, with the mapping error");
    return 0;
  }
  Require(valid, "a file that is not UTF-8 does not load");
  SettingsDocument& document = *loaded;
  const auto before = ReadAll(document);

  if (fault != 0) {
    const std::u16string reason = u"ディスクに空き領域が不足しています";
    if (fault == 1) {
      for (int name = 0; name < quillomi::phrases::kTemporaryNames; ++name)
        platform.write_faults[quillomi::phrases::TemporaryPathFor(kPath, name)] = {fail_after,
                                                                                   reason};
    } else {
      platform.replace_faults[kPath] = reason;
    }
    try {
      document.Save();
      Require(false, "a failed write fails the save");
    } catch (const UserError& error) {
      Require(error.text() == quillomi::messages::CannotCreateFile(kPath, reason),
              "a failed save names the file and the reason");
    }
    Require(platform.files[kPath] == file, "a failed save leaves the file as it was");
    Require(no_temporary_left(), "a failed save leaves no temporary file");
    return 0;
  }

  document.Save();
  const auto& log = platform.Log();
  Require(std::any_of(log.begin(), log.end(),
                      [](const std::string& line) { return line.starts_with("replace "); }),
          "an existing file is replaced");
  Require(no_temporary_left(), "a save leaves no temporary file");
  Require(leftover != 3 || platform.directories.count(first_temporary) != 0,
          "a folder in the way stays");
  const auto saved = platform.files[kPath];
  Require(saved == document.Serialize(), "the file holds the document");
  {
    const SettingsDocument again = SettingsDocument::Open(platform, kPath);
    Require(again.sections() == document.sections(), "a saved document loads back the same");
    Require(again.Serialize() == saved, "saving is stable");
    Require(ReadAll(again) == before, "a saved document reads the same");
  }

  document.WriteInteger(kSettingsSection, kKeys[key], value);
  document.Save();
  const SettingsDocument written = SettingsDocument::Open(platform, kPath);
  const auto after = ReadAll(written);
  for (std::size_t k = 0; k < kKeys.size(); ++k) {
    if (SameName(kKeys[k], kKeys[key])) {
      Require(after[k] == value, "a written key reads back its value");
    } else {
      Require(after[k] == before[k], "writing a key changes no other key");
    }
  }
  return 0;
}
