// The seam over the real Windows calls: each operation is the call its
// interface names, with the core's UTF-16 strings passed straight through.
// One class per interface, each in the file of its name; this header brings
// what they all build on.
#pragma once

#include "platform/platform.h"
#include "platform/win32/system_error.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace quillomi::win32 {

using platform::Bytes;
using platform::WindowHandle;

// True under Wine, whose ReplaceFileW is not the one-step replace of Windows.
bool RunsOnWine();

struct Windows final : platform::Windows {
  WindowHandle FindTopWindow(std::u16string_view class_name) override;
  WindowHandle FindChildWindow(WindowHandle parent, std::u16string_view class_name) override;
  void BringToTop(WindowHandle window) override;
  void SetForeground(WindowHandle window) override;
  void PostSetFocus(WindowHandle window) override;
  void SendRestore(WindowHandle window) override;
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, bool key_up) override;
  std::uint32_t MapVirtualKeyToScan(std::uint32_t vk) override;
  bool IsKeyDown(std::uint8_t vk) override;
  void EnumTopWindows(const std::function<void(WindowHandle)>& visit) override;
  WindowHandle Owner(WindowHandle window) override;
  bool IsVisible(WindowHandle window) override;
  int GetText(WindowHandle window, char16_t* buffer, int capacity) override;
  void SetText(WindowHandle window, std::u16string_view text) override;
  std::u16string ClassName(WindowHandle window) override;
};

struct Clipboard final : platform::Clipboard {
  void SetUnicodeText(std::u16string_view text) override;
  // The window that opens the clipboard (and so becomes its owner); 0 for none.
  WindowHandle owner = 0;
};

struct Files final : platform::Files {
  bool IsRegularFile(std::u16string_view path) override;
  Bytes ReadAll(std::u16string_view path) override;
  void WriteAll(std::u16string_view path, const Bytes& bytes) override;
  void Replace(std::u16string_view from, std::u16string_view to,
               std::u16string_view backup) override;
  void Rename(std::u16string_view from, std::u16string_view to) override;
  bool Remove(std::u16string_view path) noexcept override;
  void Copy(std::u16string_view from, std::u16string_view to) override;
  std::u16string ExecutablePath() override;
  std::u16string CurrentDirectory() override;
};

struct Text final : platform::Text {
  std::u16string DecodeAnsi(const std::uint8_t* data, std::size_t size) override;
  Bytes EncodeAnsi(std::u16string_view text) override;
  void UpperCaseInPlace(std::u16string& text) override;
};

struct Screen final : platform::Screen {
  platform::Rect WorkArea() override;
  std::vector<platform::Rect> MonitorWorkAreas() override;
  int FrameHeight() override;
  int CaptionHeight() override;
  int DpiX() override;
  bool IsFontInstalled(std::u16string_view face) override;
};

struct Dialogs final : platform::Dialogs {
  void ShowMessage(std::u16string_view text) override;
  void ShowError(std::u16string_view text) override;
  // The window that owns the message boxes; 0 for none.
  WindowHandle owner = 0;
};

struct Shell final : platform::Shell {
  void OpenNotepad(WindowHandle owner, std::u16string_view parameters,
                   std::u16string_view directory) override;
};

struct Clock final : platform::Clock {
  void Sleep(std::uint32_t milliseconds) override;
  void SleepAnsweringSent(std::uint32_t milliseconds) override;
};

class Session final : public platform::Session {
 public:
  platform::InstanceMutex CreateInstanceMutex(std::u16string_view name) override;

 private:
  // Never reset: for the process's whole life the named mutex marks the
  // running instance, which every later start finds.
  UniqueKernelHandle instance_mutex_;
};

// The nine together, handed to the core as one platform::Platform.
class Win32Platform {
 public:
  Win32Platform() = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  platform::Platform& Get() { return bundle_; }
  void SetDialogOwner(WindowHandle window) { dialogs_.owner = window; }
  void SetClipboardOwner(WindowHandle window) { clipboard_.owner = window; }

 private:
  Windows windows_;
  Clipboard clipboard_;
  Files files_;
  Text text_;
  Screen screen_;
  Dialogs dialogs_;
  Shell shell_;
  Clock clock_;
  Session session_;
  platform::Platform bundle_{windows_, clipboard_, files_, text_,   screen_,
                             dialogs_, shell_,     clock_, session_};
};

}  // namespace quillomi::win32
