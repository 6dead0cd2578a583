// A window layer over the recording fake for the tests of WinSearch and game
// delivery: it adds what the fake leaves out — each title read, as a log line
// "title 0x..", with a check of the buffer it was handed — and can make the
// owner query of one window throw, as a failing call inside the enumeration.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"

namespace quillomi::test {

// A fake window spelled out field by field: Window().Handle(0x10).Title(u"a").Hidden().
class Window {
 public:
  Window& Handle(platform::WindowHandle handle) { return Set(&fake::FakeWindow::handle, handle); }
  Window& Class(std::u16string name) { return Set(&fake::FakeWindow::class_name, std::move(name)); }
  Window& Title(std::u16string title) { return Set(&fake::FakeWindow::title, std::move(title)); }
  Window& Parent(platform::WindowHandle parent) { return Set(&fake::FakeWindow::parent, parent); }
  Window& Owner(platform::WindowHandle owner) { return Set(&fake::FakeWindow::owner, owner); }
  Window& Hidden(bool hidden = true) { return Set(&fake::FakeWindow::visible, !hidden); }
  operator fake::FakeWindow() const { return window_; }

 private:
  template <typename T, typename V>
  Window& Set(T fake::FakeWindow::*field, V value) {
    window_.*field = std::move(value);
    return *this;
  }
  fake::FakeWindow window_;
};

class SpyWindows final : public platform::Windows {
 public:
  explicit SpyWindows(fake::FakePlatform& fake)
      : fake_(fake), bundle_{*this, fake, fake, fake, fake, fake, fake, fake, fake} {}

  platform::Platform& Get() { return bundle_; }

  std::optional<platform::WindowHandle> owner_query_fails_for;
  // Every title buffer so far had the length 260 and held zeros only.
  bool title_buffers_zeroed = true;

  platform::WindowHandle FindTopWindow(std::u16string_view class_name) override {
    return fake_.FindTopWindow(class_name);
  }
  platform::WindowHandle FindChildWindow(platform::WindowHandle parent,
                                         std::u16string_view class_name) override {
    return fake_.FindChildWindow(parent, class_name);
  }
  void BringToTop(platform::WindowHandle window) override { fake_.BringToTop(window); }
  void SetForeground(platform::WindowHandle window) override { fake_.SetForeground(window); }
  void PostSetFocus(platform::WindowHandle window) override { fake_.PostSetFocus(window); }
  void SendRestore(platform::WindowHandle window) override { fake_.SendRestore(window); }
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, bool key_up) override {
    fake_.KeyEvent(vk, scan, key_up);
  }
  std::uint32_t MapVirtualKeyToScan(std::uint32_t vk) override {
    return fake_.MapVirtualKeyToScan(vk);
  }
  bool IsKeyDown(std::uint8_t vk) override { return fake_.IsKeyDown(vk); }
  void EnumTopWindows(const std::function<void(platform::WindowHandle)>& visit) override {
    fake_.EnumTopWindows(visit);
  }
  platform::WindowHandle Owner(platform::WindowHandle window) override {
    if (owner_query_fails_for == window) throw OsFailure(u"ウィンドウ ハンドルが無効です。", 1400);
    return fake_.Owner(window);
  }
  bool IsVisible(platform::WindowHandle window) override { return fake_.IsVisible(window); }
  int GetText(platform::WindowHandle window, char16_t* buffer, int capacity) override {
    if (capacity != 260 ||
        !std::all_of(buffer, buffer + capacity, [](char16_t c) { return c == u'\0'; }))
      title_buffers_zeroed = false;
    fake_.Record("title " + fake::Hex(window));
    return fake_.GetText(window, buffer, capacity);
  }
  void SetText(platform::WindowHandle window, std::u16string_view text) override {
    fake_.SetText(window, text);
  }

 private:
  fake::FakePlatform& fake_;
  platform::Platform bundle_;
};

}  // namespace quillomi::test
