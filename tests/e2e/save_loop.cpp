// Saves the settings file through the program's own code in an endless loop,
// for the end-to-end test that kills it at random moments:
//
//   quillomi_save_loop.exe SETTINGS_FILE READY_EVENT
//
// Each round opens the file, writes the next generation and saves; it goes on
// from the generation the file holds and sets the named event READY_EVENT
// after each save. A round that fails ends it with its reason on stderr.
#include <windows.h>

#include <cstdio>

#include "phrases/settings.h"
#include "platform/errors.h"
#include "platform/utf.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/save_loop.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  using namespace quillomi;
  namespace save_loop = e2e::save_loop;
  win32::Win32Platform win32;
  const std::u16string path(reinterpret_cast<const char16_t*>(argv[1]));
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  try {
    for (;;) {
      auto settings = phrases::SettingsDocument::Open(win32.Get().files, path);
      const int generation = settings.ReadInteger(phrases::kSettingsSection, u"Generation", 0) + 1;
      settings.WriteInteger(phrases::kSettingsSection, u"Generation", generation);
      for (int entry = 0; entry < save_loop::kEntries; ++entry) {
        const std::string key = save_loop::Key(entry);
        settings.WriteInteger(phrases::kSettingsSection, std::u16string(key.begin(), key.end()),
                              save_loop::Value(generation, entry));
      }
      settings.Save();
      if (ready) SetEvent(ready);
    }
  } catch (...) {
    std::fprintf(stderr, "%s\n", ToUtf8(DescribeCurrentException()).c_str());
    return 1;
  }
}
