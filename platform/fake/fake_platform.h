// The recording fake: every call becomes one readable line in Log(), in call
// order; answers come from the script that a test sets up beforehand (which
// windows exist, a busy clipboard, locked or failing files, screen metrics).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillomi::fake {

using platform::Bytes;
using platform::WindowHandle;

struct FakeWindow {
  WindowHandle handle = 0;
  std::u16string class_name;
  std::u16string title;
  WindowHandle parent = 0;  // 0: a top-level window
  WindowHandle owner = 0;
  bool visible = true;
};

// A scripted write failure: the first `after_bytes` bytes reach the file, then
// the write fails with `reason`.
struct WriteFault {
  std::size_t after_bytes = 0;
  std::u16string reason = u"ディスクに空き領域が不足しています";
};

class FakePlatform final : public platform::Windows,
                           public platform::Clipboard,
                           public platform::Files,
                           public platform::Text,
                           public platform::Screen,
                           public platform::Dialogs,
                           public platform::Shell,
                           public platform::Clock,
                           public platform::Session {
 public:
  FakePlatform();

  platform::Platform& Get() { return bundle_; }

  // --- script -------------------------------------------------------------
  // Adds a window in enumeration order; handle 0 picks the next free one.
  WindowHandle AddWindow(FakeWindow window);
  void RemoveWindow(WindowHandle handle);
  std::map<std::uint32_t, std::uint32_t> scan_codes{{0x11, 0x1D}, {0x56, 0x2F}, {0x0D, 0x1C}};
  std::set<std::uint8_t> held_keys;
  // Windows whose owner query fails, as a call inside the enumeration may.
  std::set<WindowHandle> owner_faults;

  std::optional<std::u16string> clipboard_text;
  std::optional<std::u16string> clipboard_busy;  // reason when another program holds it

  std::map<std::u16string, Bytes> files;
  std::set<std::u16string> directories;
  std::map<std::u16string, std::u16string> read_faults;  // path -> reason
  std::map<std::u16string, WriteFault> write_faults;     // path -> fault
  std::map<std::u16string, std::u16string> replace_faults;  // target -> reason, Replace and Rename
  // Target -> the code of a Replace that stops half-way, the files left as
  // Windows documents it (see platform::kUnableToMoveReplacement).
  std::map<std::u16string, std::uint32_t> replace_stops;
  // Files with the read-only attribute: not written or replaced, but Remove deletes them.
  std::set<std::u16string> read_only;
  // Files another program holds open without sharing: not written or removed.
  std::set<std::u16string> held_open;
  std::map<std::u16string, std::u16string> copy_faults;
  std::u16string executable_path = u"C:\\Games\\Quillomi\\Quillomi.exe";
  std::u16string current_directory = u"C:\\Games\\Quillomi\\";
  void PutFile(const std::u16string& path, std::string_view bytes);
  template <std::size_t N>  // a literal's bytes, embedded NULs included
  void PutFile(const std::u16string& path, const char (&bytes)[N]) {
    PutFile(path, std::string_view(bytes, N - 1));
  }
  std::string FileText(const std::u16string& path) const;  // bytes as they are

  platform::Rect work_area{0, 0, 1920, 1040};
  // Every monitor's; unset, the one work_area.
  std::optional<std::vector<platform::Rect>> monitor_work_areas;
  int frame_height = 4;
  int caption_height = 23;
  int dpi_x = 96;
  std::set<std::u16string> installed_fonts;

  // What CreateInstanceMutex answers.
  platform::InstanceMutex instance_mutex{true, false};

  // Hook run when a message box opens (a test may act "while it is shown").
  std::function<void(std::u16string_view)> on_message;
  // Hook run after each call is recorded, with its log line (a test may change
  // the windows between two calls).
  std::function<void(const std::string&)> on_record;

  // --- what happened ------------------------------------------------------
  const std::vector<std::string>& Log() const { return log_; }
  // The log lines that start with one of the prefixes, in order.
  std::vector<std::string> LogWith(std::initializer_list<std::string_view> prefixes) const;
  void ClearLog() { log_.clear(); }
  std::uint32_t slept_ms = 0;

  // --- platform::Windows --------------------------------------------------
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
  std::u16string TextOf(WindowHandle window) const;

  // --- platform::Clipboard ------------------------------------------------
  void SetUnicodeText(std::u16string_view text) override;

  // --- platform::Files ----------------------------------------------------
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

  // --- platform::Text -----------------------------------------------------
  // Code page 932 (iconv natively, the Windows converter in the Windows build).
  // With lead_byte_takes_next, a lead byte and the byte after it are always one
  // character, U+30FB when they map to none, even when that byte is CR, LF or
  // NUL: what Wine's decoder does (and Windows' may), where iconv reads an
  // unmappable lead byte alone.
  bool lead_byte_takes_next = false;
  std::u16string DecodeAnsi(const std::uint8_t* data, std::size_t size) override;
  Bytes EncodeAnsi(std::u16string_view text) override;
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
  void OpenNotepad(WindowHandle owner, std::u16string_view parameters,
                   std::u16string_view directory) override;
  void Sleep(std::uint32_t milliseconds) override;
  void SleepAnsweringSent(std::uint32_t milliseconds) override;
  platform::InstanceMutex CreateInstanceMutex(std::u16string_view name) override;

  void Record(std::string line) {
    log_.push_back(line);
    if (on_record) on_record(line);
  }

 private:
  const FakeWindow* Find(WindowHandle handle) const;
  void MoveOver(const std::u16string& source, const std::u16string& target, bool target_must_exist);

  platform::Platform bundle_;
  std::vector<FakeWindow> windows_;
  WindowHandle next_handle_ = 0x10;
  std::vector<std::string> log_;
};

// "0x1d"-style hex as the log writes it; "none" for 0.
std::string Hex(std::uintptr_t value);
// A string as the log quotes it: UTF-8, with \n, \r, \t and other controls escaped.
std::string Quote(std::u16string_view text);

// Code page 932 conversions for the fake (one implementation per build).
std::u16string DecodeCp932(const std::uint8_t* data, std::size_t size);
Bytes EncodeCp932(std::u16string_view text);
void UpperCaseForTests(std::u16string& text);

}  // namespace quillomi::fake
