// Message boxes, screen metrics and Notepad, read back from the system the
// way a user would see them.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win32/win32_test_support.h"

namespace quillomi::win32 {
namespace {

using quillomi::test::Utf8;
using test::MakeWindow;
using test::TestWindowClass;

// The first top-level window of the class that passes the test, from any process.
template <typename Test>
HWND FindWindowOf(const wchar_t* class_name, Test test) {
  for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, class_name, nullptr));)
    if (test(window)) return window;
  return nullptr;
}

std::u16string TextOf(HWND window) {
  std::u16string text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, u'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, W(text.data()), static_cast<int>(text.size()))));
  return text;
}

struct SeenBox {
  bool found = false;
  std::u16string caption;
  std::u16string text;
  HWND owner = nullptr;
  bool icon = false;
  std::vector<bool> enabled;  // the watched windows', while the box was open
};

// Waits for a message box of the given thread, reads it and presses OK.
SeenBox CloseNextMessageBox(DWORD thread, std::vector<HWND> watched = {}) {
  SeenBox seen;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  HWND box = nullptr;
  while (box == nullptr && std::chrono::steady_clock::now() < deadline) {
    box = FindWindowOf(L"#32770", [&](HWND window) {
      return ::GetWindowThreadProcessId(window, nullptr) == thread && ::IsWindowVisible(window);
    });
    if (box == nullptr) ::Sleep(20);
  }
  if (box == nullptr) return seen;
  seen.found = true;
  seen.caption = TextOf(box);
  seen.owner = ::GetWindow(box, GW_OWNER);
  for (HWND child = nullptr; (child = ::FindWindowExW(box, child, L"Static", nullptr));) {
    if (!::IsWindowVisible(child)) continue;
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
    if ((style & SS_TYPEMASK) == SS_ICON)
      seen.icon = seen.icon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
    else
      seen.text = TextOf(child);
  }
  for (HWND window : watched) seen.enabled.push_back(::IsWindowEnabled(window) != FALSE);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  return seen;
}

class Win32Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(window_class_.registered()); }
  Win32Platform platform_;
  platform::Dialogs& dialogs_ = platform_.Get().dialogs;
  TestWindowClass window_class_{u"QuillomiDialogOwner"};
};

// While a box is open no other window of the program takes input; afterwards
// each is as it was, a hidden one included.
TEST_F(Win32Dialogs, BoxesShowTheTextUnderTheApplicationTitleAndHoldOffTheOtherWindows) {
  const auto owner = MakeWindow(window_class_, u"panel", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const auto other = MakeWindow(window_class_, u"list");
  const auto disabled =
      MakeWindow(window_class_, u"off", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_DISABLED);
  ASSERT_TRUE(owner && other && disabled);
  const std::u16string not_found =
      u"起動中のＵＯが見つからなくて発言できなかったよ！\n\r\n\r"
      u"選択した文字はクリップボードに記憶したから、\n\r"
      u"ＵＯに[Ctrl]+[V]キーで貼り付けて[Enter]にて発言してね！";
  struct Case {
    const char* name;
    bool error;
    HWND owner;
    std::u16string text;
  };
  const Case cases[] = {
      {"message, owned", false, owner.get(), not_found},
      {"message, no owner", false, nullptr, u"リストを再読み込みしました"},
      {"error, owned", true, owner.get(),
       u"クリップボード アクセスが拒否されました。 を開けません."},
      {"error, no owner", true, nullptr, u"ファイル C:\\x.txt は開けません。 理由 ."},
  };
  for (const auto& c : cases) {
    platform_.SetDialogOwner(Handle(c.owner));
    auto watcher = std::async(std::launch::async, CloseNextMessageBox, ::GetCurrentThreadId(),
                              std::vector<HWND>{owner.get(), other.get(), disabled.get()});
    if (c.error)
      dialogs_.ShowError(c.text);
    else
      dialogs_.ShowMessage(c.text);
    const SeenBox seen = watcher.get();
    ASSERT_TRUE(seen.found) << c.name;
    EXPECT_EQ(seen.caption, u"Quillomi") << c.name;
    EXPECT_EQ(seen.text, c.text) << c.name << ": " << Utf8(seen.text);
    EXPECT_EQ(seen.owner, c.owner) << c.name;
    EXPECT_EQ(seen.icon, c.error) << c.name;
    EXPECT_EQ(seen.enabled, (std::vector<bool>{false, false, false})) << c.name;
    EXPECT_TRUE(::IsWindowEnabled(owner.get())) << c.name;
    EXPECT_TRUE(::IsWindowEnabled(other.get())) << c.name;
    EXPECT_FALSE(::IsWindowEnabled(disabled.get())) << c.name;
  }
}

TEST(Win32Screen, MetricsOfAnUnscaledDesktop) {
  Win32Platform platform;
  platform::Screen& screen = platform.Get().screen;
  const platform::Rect area = screen.WorkArea();
  EXPECT_GE(area.left, 0);
  EXPECT_GE(area.top, 0);
  EXPECT_GT(area.Width(), 0);
  EXPECT_GT(area.Height(), 0);
  EXPECT_LE(area.right, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_LE(area.bottom, ::GetSystemMetrics(SM_CYSCREEN));
  // One monitor here: its work area is the primary one.
  EXPECT_EQ(screen.MonitorWorkAreas(), std::vector<platform::Rect>{area});
  EXPECT_GT(screen.FrameHeight(), 0);
  EXPECT_GT(screen.CaptionHeight(), screen.FrameHeight());
  // The program declares no DPI awareness, so the system shows it 96 dpi.
  EXPECT_EQ(screen.DpiX(), 96);
}

TEST(Win32Shell, NotepadOpensTheFileInTheGivenDirectory) {
  const test::TempDirectory dir;
  const std::u16string name = test::ProcessUnique(u"QLMO_一覧_") + u".txt";
  test::PutFile(dir / name, quillomi::test::B("phrase"));

  Win32Platform platform;
  // A bare name: only the directory argument can lead Notepad to the file.
  platform.Get().shell.OpenNotepad(0, name, dir.path());

  HWND notepad = nullptr;
  const auto showing = [&](HWND window) {
    return TextOf(window).find(name) != std::u16string::npos;
  };
  EXPECT_TRUE(
      test::PumpUntil([&] { return (notepad = FindWindowOf(L"Notepad", showing)) != nullptr; },
                      std::chrono::seconds(15)));
  if (notepad != nullptr) ::PostMessageW(notepad, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace quillomi::win32
