// The seam over the real Windows calls: each operation is the call its
// interface names, with the core's UTF-16 strings passed straight through.
#pragma once

#include "platform/platform.h"

namespace quillomi::win32 {

// True under Wine, whose ReplaceFileW is not the one-step replace of Windows.
bool RunsOnWine();

class Win32Platform final : public platform::Windows,
                            public platform::Clipboard,
                            public platform::Files,
                            public platform::Text,
                            public platform::Screen,
                            public platform::Dialogs,
                            public platform::Shell,
                            public platform::Clock,
                            public platform::Session {
 public:
  Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  platform::Platform& Get() { return bundle_; }

  // The window that owns the message boxes; 0 for none.
  void SetDialogOwner(platform::WindowHandle window) { dialog_owner_ = window; }
  // The window that opens the clipboard (and so becomes its owner); 0 for none.
  void SetClipboardOwner(platform::WindowHandle window) { clipboard_owner_ = window; }

  // --- platform::Windows --------------------------------------------------
  platform::WindowHandle FindTopWindow(std::u16string_view class_name) override;
  platform::WindowHandle FindChildWindow(platform::WindowHandle parent,
                                         std::u16string_view class_name) override;
  void BringToTop(platform::WindowHandle window) override;
  void SetForeground(platform::WindowHandle window) override;
  void PostSetFocus(platform::WindowHandle window) override;
  void SendRestore(platform::WindowHandle window) override;
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, bool key_up) override;
  std::uint32_t MapVirtualKeyToScan(std::uint32_t vk) override;
  bool IsKeyDown(std::uint8_t vk) override;
  void EnumTopWindows(const std::function<void(platform::WindowHandle)>& visit) override;
  platform::WindowHandle Owner(platform::WindowHandle window) override;
  bool IsVisible(platform::WindowHandle window) override;
  int GetText(platform::WindowHandle window, char16_t* buffer, int capacity) override;
  void SetText(platform::WindowHandle window, std::u16string_view text) override;

  // --- platform::Clipboard ------------------------------------------------
  void SetUnicodeText(std::u16string_view text) override;

  // --- platform::Files ----------------------------------------------------
  bool IsRegularFile(std::u16string_view path) override;
  platform::Bytes ReadAll(std::u16string_view path) override;
  void WriteAll(std::u16string_view path, const platform::Bytes& bytes) override;
  void Replace(std::u16string_view from, std::u16string_view to) override;
  void Rename(std::u16string_view from, std::u16string_view to) override;
  bool Remove(std::u16string_view path) noexcept override;
  void Copy(std::u16string_view from, std::u16string_view to) override;
  std::u16string ExecutablePath() override;
  std::u16string CurrentDirectory() override;

  // --- platform::Text -----------------------------------------------------
  std::u16string DecodeAnsi(const std::uint8_t* data, std::size_t size) override;
  platform::Bytes EncodeAnsi(std::u16string_view text) override;
  void UpperCaseInPlace(std::u16string& text) override;

  // --- platform::Screen ---------------------------------------------------
  platform::Rect WorkArea() override;
  std::vector<platform::Rect> MonitorWorkAreas() override;
  int FrameHeight() override;
  int CaptionHeight() override;
  int DpiX() override;
  bool IsFontInstalled(std::u16string_view face) override;

  // --- platform::Dialogs, Shell, Clock ------------------------------------
  void ShowMessage(std::u16string_view text) override;
  void ShowError(std::u16string_view text) override;
  void OpenNotepad(platform::WindowHandle owner, std::u16string_view parameters,
                   std::u16string_view directory) override;
  void Sleep(std::uint32_t milliseconds) override;
  platform::InstanceMutex CreateInstanceMutex(std::u16string_view name) override;

  // --- what serving ClassicUO adds: Windows and Clock ----------
  std::u16string ClassName(platform::WindowHandle window) override;
  void SleepAnsweringSent(std::uint32_t milliseconds) override;

 private:
  platform::Platform bundle_;
  platform::WindowHandle dialog_owner_ = 0;
  platform::WindowHandle clipboard_owner_ = 0;
};

}  // namespace quillomi::win32
