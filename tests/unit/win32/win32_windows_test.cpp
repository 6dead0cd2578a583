// Window lookup, enumeration, titles and the messages sent to other windows,
// on windows the test creates with class names of its own; the font lookup.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win32/win32_test_support.h"

namespace quillomi::win32 {
namespace {

using quillomi::test::Utf8;
using test::MakeWindow;
using test::PumpUntil;
using test::TestWindowClass;

class Win32Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(game_class_.registered());
    ASSERT_TRUE(other_class_.registered());
  }
  Win32Platform platform_;
  platform::Windows& windows_ = platform_.Get().windows;
  TestWindowClass game_class_{u"QuillomiGame"};
  TestWindowClass other_class_{u"QuillomiOther"};
};

// A top-level window by class alone, in any letter case; a child among the
// direct children only.
TEST_F(Win32Windows, FindTopAndChildWindowsByClass) {
  const auto game = MakeWindow(game_class_, u"any title");
  ASSERT_TRUE(game);
  // Like the game client: the inner window has the class of its parent.
  const auto inner = MakeWindow(game_class_, u"inner", WS_CHILD | WS_VISIBLE, game.get());
  ASSERT_TRUE(inner);
  const auto grandchild = MakeWindow(other_class_, u"deep", WS_CHILD, inner.get());
  ASSERT_TRUE(grandchild);
  const auto alone = MakeWindow(other_class_, u"alone");
  ASSERT_TRUE(alone);
  struct Case {
    const char* name;
    HWND parent;  // nullptr: a top-level window
    std::u16string class_name;
    HWND expected;
  };
  const Case cases[] = {
      {"top window", nullptr, game_class_.name(), game.get()},
      {"top window, lower case", nullptr, test::ProcessUnique(u"quillomigame"), game.get()},
      {"no such top window", nullptr, test::ProcessUnique(u"QuillomiNoSuchClass"), nullptr},
      {"inner window of the same class", game.get(), game_class_.name(), inner.get()},
      {"grandchild", game.get(), other_class_.name(), nullptr},
      {"child of the inner window", inner.get(), other_class_.name(), grandchild.get()},
      {"window without children", alone.get(), game_class_.name(), nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.parent ? windows_.FindChildWindow(Handle(c.parent), c.class_name)
                       : windows_.FindTopWindow(c.class_name),
              Handle(c.expected))
        << c.name;
}

// Each top-level window is visited once, with its owner and visibility; a
// child is not. A visitor's exception ends the visits and comes out of them,
// and leaves the enumeration whole for the next caller.
TEST_F(Win32Windows, EnumTopWindowsVisitsEachTopLevelWindowOnceWithOwnerAndVisibility) {
  const auto shown = MakeWindow(game_class_, u"shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const auto hidden = MakeWindow(game_class_, u"hidden");
  const auto owned =
      MakeWindow(game_class_, u"owned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, shown.get());
  const auto child = MakeWindow(game_class_, u"child", WS_CHILD | WS_VISIBLE, shown.get());
  ASSERT_TRUE(shown && hidden && owned && child);
  int visits = 0;
  const auto fail = [&](platform::WindowHandle) {
    ++visits;
    throw std::runtime_error("visitor failed");
  };
  EXPECT_THROW(windows_.EnumTopWindows(fail), std::runtime_error);
  EXPECT_EQ(visits, 1);
  std::vector<platform::WindowHandle> visited;
  windows_.EnumTopWindows([&](platform::WindowHandle window) { visited.push_back(window); });
  struct Case {
    const char* name;
    HWND window;
    HWND owner;
    bool visible;
    int visits;
  };
  const Case cases[] = {
      {"shown", shown.get(), nullptr, true, 1},
      {"hidden", hidden.get(), nullptr, false, 1},
      {"owned", owned.get(), shown.get(), true, 1},
      {"child", child.get(), nullptr, true, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::ranges::count(visited, Handle(c.window)), c.visits) << c.name;
    if (c.visits == 0) continue;
    EXPECT_EQ(windows_.Owner(Handle(c.window)), Handle(c.owner)) << c.name;
    EXPECT_EQ(windows_.IsVisible(Handle(c.window)), c.visible) << c.name;
  }
}

TEST_F(Win32Windows, TitlesReadAndWrite) {
  const auto window = MakeWindow(game_class_, u"");
  ASSERT_TRUE(window);
  const std::u16string long_title(300, u'字');
  struct Case {
    std::u16string title;
    int capacity;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"Ultima Online 日本語 UOSA ", 260, u"Ultima Online 日本語 UOSA "},
      {u"", 260, u""},
      {u"truncated", 5, u"trun"},
      {long_title, 260, long_title.substr(0, 259)},
  };
  for (const auto& c : cases) {
    windows_.SetText(Handle(window.get()), c.title);
    std::u16string buffer(static_cast<std::size_t>(c.capacity), u'\0');
    const int copied = windows_.GetText(Handle(window.get()), buffer.data(), c.capacity);
    EXPECT_EQ(copied, static_cast<int>(c.expected.size())) << Utf8(c.title);
    EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected) << Utf8(c.title);
    EXPECT_EQ(buffer[c.expected.size()], u'\0') << Utf8(c.title);
  }
}

TEST_F(Win32Windows, PostSetFocusArrivesWithZeroArguments) {
  const auto window = MakeWindow(game_class_, u"inner");
  ASSERT_TRUE(window);
  windows_.PostSetFocus(Handle(window.get()));
  // In the queue: posted, not sent.
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, window.get(), WM_SETFOCUS, WM_SETFOCUS, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0U);
  EXPECT_EQ(message.lParam, 0);
}

// True when upper lies above lower in the z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT))
    if (w == lower) return true;
  return false;
}

TEST_F(Win32Windows, SendRestoreAndBringToTopRestoreAndRaise) {
  const auto first = MakeWindow(game_class_, u"first", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const auto second = MakeWindow(game_class_, u"second", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_TRUE(first && second);
  ::ShowWindow(second.get(), SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(second.get()));
  windows_.SendRestore(Handle(second.get()));
  EXPECT_FALSE(::IsIconic(second.get()));
  windows_.BringToTop(Handle(second.get()));
  ASSERT_TRUE(Above(second.get(), first.get()));
  windows_.BringToTop(Handle(first.get()));
  EXPECT_TRUE(Above(first.get(), second.get()));
}

TEST_F(Win32Windows, ScanCodesOfTheDeliveryKeys) {
  struct Case {
    std::uint32_t vk;
    std::uint32_t scan;
  };
  const Case cases[] = {{platform::kVkControl, 0x1D},
                        {platform::kVkV, 0x2F},
                        {platform::kVkReturn, 0x1C},
                        {platform::kVkShift, 0x2A}};
  for (const auto& c : cases) EXPECT_EQ(windows_.MapVirtualKeyToScan(c.vk), c.scan) << c.vk;
}

// Injected keystrokes as a low-level keyboard hook sees them, whichever
// window has the focus. The hook takes no context, hence the one static.
struct Stroke {
  DWORD vk;
  DWORD scan;
  bool up;
  friend bool operator==(const Stroke&, const Stroke&) = default;
};
std::vector<Stroke>* recorded_strokes = nullptr;

LRESULT CALLBACK RecordInjectedKey(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && recorded_strokes != nullptr) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    if ((key.flags & LLKHF_INJECTED) != 0)
      recorded_strokes->push_back({key.vkCode, key.scanCode, (key.flags & LLKHF_UP) != 0});
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(Win32Windows, KeyEventsGoOutWithTheirScanCodeAndDirection) {
  std::vector<Stroke> strokes;
  recorded_strokes = &strokes;
  HHOOK hook =
      ::SetWindowsHookExW(WH_KEYBOARD_LL, RecordInjectedKey, ::GetModuleHandleW(nullptr), 0);
  ASSERT_NE(hook, nullptr);

  // The hook runs on this thread's message loop, so the keys come from another.
  std::thread typist([this] {
    windows_.KeyEvent(platform::kVkShift, 0x2A, false);
    windows_.KeyEvent(platform::kVkShift, 0x2A, true);
  });
  PumpUntil([&] { return strokes.size() >= 2; });
  typist.join();
  ::UnhookWindowsHookEx(hook);
  recorded_strokes = nullptr;

  const std::vector<Stroke> expected = {{platform::kVkShift, 0x2A, false},
                                        {platform::kVkShift, 0x2A, true}};
  EXPECT_EQ(strokes, expected);
}

// ClassicUO's frame pause: never shorter than asked, and a message sent to the
// sleeping thread's window is answered at once, not after the pause.
TEST_F(Win32Windows, TheFramePauseLastsItsTimeAndAnswersSentMessagesMeanwhile) {
  const auto window = MakeWindow(game_class_, u"pausing");
  ASSERT_TRUE(window);
  const auto now = [] {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
  };
  double answered = 1e300;
  std::thread sender([&] {
    ::Sleep(20);
    DWORD_PTR result = 0;
    // A pause that does not answer would hold this thread past it.
    if (::SendMessageTimeoutW(window.get(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0)
      answered = now();
  });
  const double start = now();
  platform_.Get().clock.SleepAnsweringSent(100);
  const double end = now();
  sender.join();
  EXPECT_GE(end - start, 100.0);
  EXPECT_LT(answered, end);
}

// The face lookup behind the program's font choice, with a face that
// scripts/ installs. "MS Shell Dlg" only exists as a substitute for another
// family.
TEST(Win32Screen, AFontFaceCountsOnlyUnderItsOwnName) {
  Win32Platform platform;
  struct Case {
    std::u16string face;
    bool installed;
  };
  const Case cases[] = {
      {u"Noto Sans CJK JP", true},
      {u"noto sans cjk jp", true},
      {u"MS Shell Dlg", false},
      {u"Quillomi No Such Face", false},
      {u"", false},
      {std::u16string(40, u'A'), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform.Get().screen.IsFontInstalled(c.face), c.installed) << Utf8(c.face);
}

}  // namespace
}  // namespace quillomi::win32
