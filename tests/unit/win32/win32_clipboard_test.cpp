// The real clipboard: what the game client pastes is exactly what was set.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <thread>

#include "platform/errors.h"
#include "platform/win32/win32_platform.h"
#include "tests/unit/test_support.h"
#include "tests/unit/win32/win32_test_support.h"

namespace quillomi::win32 {
namespace {

using quillomi::test::Utf8;
using test::MakeWindow;
using test::TestWindowClass;

// The clipboard's Unicode text as another program reads it, terminator checked.
std::optional<std::u16string> ReadClipboardText() {
  if (!::OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::u16string> text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    const std::size_t units = ::GlobalSize(data) / sizeof(char16_t);
    if (const auto* p = static_cast<const char16_t*>(::GlobalLock(data))) {
      const std::u16string_view all(p, units);
      const auto end = all.find(u'\0');
      if (end != std::u16string_view::npos) text = std::u16string(all.substr(0, end));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

class Win32Clipboard : public ::testing::Test {
 protected:
  Win32Platform platform_;
  platform::Clipboard& clipboard_ = platform_.Get().clipboard;
};

TEST_F(Win32Clipboard, HoldsExactlyTheTextSet) {
  const std::u16string cases[] = {
      u"/ こんにちは世界",
      u"",
      u"ｱｲｳ ＡＢＣ ①～",
      u"two\r\nlines",
      u"\U0001F600 outside the BMP",
      std::u16string(5000, u'あ'),
  };
  for (const auto& text : cases) {
    clipboard_.SetUnicodeText(text);
    EXPECT_EQ(ReadClipboardText(), std::optional(text)) << Utf8(text.substr(0, 40));
  }
}

TEST_F(Win32Clipboard, TheOpeningWindowBecomesTheOwner) {
  const TestWindowClass window_class(u"QuillomiClipboardOwner");
  ASSERT_TRUE(window_class.registered());
  const auto owner = MakeWindow(window_class, u"owner");
  ASSERT_TRUE(owner);

  platform_.SetClipboardOwner(Handle(owner.get()));
  clipboard_.SetUnicodeText(u"owned");
  EXPECT_EQ(::GetClipboardOwner(), owner.get());

  platform_.SetClipboardOwner(0);
  clipboard_.SetUnicodeText(u"unowned");
  EXPECT_EQ(::GetClipboardOwner(), nullptr);
  EXPECT_EQ(ReadClipboardText(), std::optional<std::u16string>(u"unowned"));
}

TEST_F(Win32Clipboard, AClipboardHeldByAnotherWindowFailsWithTheSystemReason) {
  clipboard_.SetUnicodeText(u"before");
  // Another thread opens it with its own window and keeps it until released.
  std::promise<bool> opened;
  std::promise<void> release;
  std::thread holder([&] {
    const TestWindowClass window_class(u"QuillomiClipboardHolder");
    const auto window = MakeWindow(window_class, u"holder");
    const bool open = window && ::OpenClipboard(window.get());
    opened.set_value(open);
    release.get_future().wait();
    if (open) ::CloseClipboard();
  });
  EXPECT_TRUE(opened.get_future().get());
  try {
    clipboard_.SetUnicodeText(u"while held");
    ADD_FAILURE() << "no failure while another window holds the clipboard";
  } catch (const OsFailure& failure) {
    EXPECT_FALSE(failure.reason().empty());
  }
  release.set_value();
  holder.join();
  EXPECT_EQ(ReadClipboardText(), std::optional<std::u16string>(u"before"));
  clipboard_.SetUnicodeText(u"after");
  EXPECT_EQ(ReadClipboardText(), std::optional<std::u16string>(u"after"));
}

}  // namespace
}  // namespace quillomi::win32
