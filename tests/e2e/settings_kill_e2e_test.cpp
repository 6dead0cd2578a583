// The settings file while the program saving it is killed at random moments:
// whatever the moment, the file holds the last generation saved in full, never
// an empty or cut-off one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/save_loop.h"

namespace quillomi::e2e {
namespace {

// Generation g's file as the settings format spells it out.
std::string Expected(int generation) {
  std::string text = "\xEF\xBB\xBF[System]\r\nGeneration=" + std::to_string(generation) + "\r\n";
  for (int entry = 0; entry < save_loop::kEntries; ++entry)
    text += save_loop::Key(entry) + "=" + std::to_string(save_loop::Value(generation, entry)) + "\r\n";
  return text + "\r\n";
}

TEST(SettingsKill, AKilledSaveLeavesTheLastCompleteGeneration) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<DWORD> pause(0, 20);
  const TempDir dir;
  const std::wstring settings = dir.Path() + L"Quillomi.exe_ユーザー設定.ini";
  const std::wstring temporary = settings + L".quillomi-new";
  const std::wstring event = L"quillomi-save-loop-" + std::to_wstring(GetCurrentProcessId());
  const std::unique_ptr<void, decltype(&CloseHandle)> ready(
      CreateEventW(nullptr, TRUE, FALSE, event.c_str()), &CloseHandle);
  ASSERT_NE(ready.get(), nullptr);
  int saved = 0, kills = 0, mid_save = 0;  // generations count the completed saves
  // Enough kills to land in the middle of a save many times; a cap in case none do.
  while ((saved < 200 || mid_save < 50) && kills < 300) {
    ResetEvent(ready.get());
    // Under load Wine now and then fails to start a process at all.
    Process saver;
    for (int attempt = 0; attempt < 3 && saver.Id() == 0; ++attempt)
      saver = Process(BinDir() + L"quillomi_save_loop.exe", {settings, event});
    ASSERT_NE(saver.Id(), 0U) << "the saver does not start";
    ASSERT_TRUE(WaitUntil(
        [&] { return WaitForSingleObject(ready.get(), 0) == WAIT_OBJECT_0 || !saver.Running(); }, 20s))
        << "the saver saved nothing";
    Sleep(pause(random));
    ASSERT_TRUE(saver.Running()) << "the saver ended with " << saver.WaitExit(0ms);
    saver.Kill();
    ++kills;
    // Left behind by a kill between the new file's creation and its rename.
    if (GetFileAttributesW(temporary.c_str()) != INVALID_FILE_ATTRIBUTES) ++mid_save;
    const std::string bytes = ReadFileBytes(settings);
    const auto at = bytes.find("Generation=");
    const int generation = at == std::string::npos ? -1 : std::atoi(bytes.c_str() + at + 11);
    ASSERT_TRUE(bytes == Expected(generation))
        << "after kill " << kills << ": " << bytes.size() << " bytes, " << bytes.substr(0, 40);
    ASSERT_GT(generation, saved) << "a completed save was lost";
    saved = generation;
  }
  std::printf("%d saves, %d kills, %d of them in the middle of a save\n", saved, kills, mid_save);
  EXPECT_GE(saved, 200);
  EXPECT_GE(mid_save, 50);
}

}  // namespace
}  // namespace quillomi::e2e
