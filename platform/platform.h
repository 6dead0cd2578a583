// The seam between Quillomi's portable core and Windows.
//
// Every Windows call the program makes goes through one of these interfaces.
// platform/win32 implements them with the real calls and nothing more;
// platform/fake records every call in order and answers from a script, so the
// core's call sequences are tested natively, exactly.
//
// Failures of the system are thrown as OsFailure carrying the system's reason
// text; the core turns them into the user-visible UserError texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillomi::platform {

// An opaque top-level or child window; 0 is "no window".
using WindowHandle = std::uintptr_t;
using Bytes = std::vector<std::uint8_t>;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Virtual-key codes the program sends or tests.
inline constexpr std::uint8_t kVkReturn = 0x0D;
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;  // Alt
inline constexpr std::uint8_t kVkV = 0x56;

// Window search, activation and synthetic input.
class Windows {
 public:
  virtual ~Windows() = default;
  // FindWindowW(class, NULL).
  virtual WindowHandle FindTopWindow(std::u16string_view class_name) = 0;
  // FindWindowExW(parent, NULL, class, NULL).
  virtual WindowHandle FindChildWindow(WindowHandle parent, std::u16string_view class_name) = 0;
  virtual void BringToTop(WindowHandle window) = 0;
  virtual void SetForeground(WindowHandle window) = 0;
  // PostMessageW(window, WM_SETFOCUS, 0, 0).
  virtual void PostSetFocus(WindowHandle window) = 0;
  // SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0).
  virtual void SendRestore(WindowHandle window) = 0;
  // keybd_event(vk, scan, up ? KEYEVENTF_KEYUP : 0, 0).
  virtual void KeyEvent(std::uint8_t vk, std::uint8_t scan, bool key_up) = 0;
  // MapVirtualKeyW(vk, MAPVK_VK_TO_VSC).
  virtual std::uint32_t MapVirtualKeyToScan(std::uint32_t vk) = 0;
  // GetAsyncKeyState(vk) reports the key held down.
  virtual bool IsKeyDown(std::uint8_t vk) = 0;
  // EnumWindows: every top-level window in the system's order; the enumeration
  // always goes on. An exception thrown by visit ends it and is rethrown.
  virtual void EnumTopWindows(const std::function<void(WindowHandle)>& visit) = 0;
  // GetWindow(window, GW_OWNER).
  virtual WindowHandle Owner(WindowHandle window) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  // GetWindowTextW(window, buffer, capacity): the count copied, 0 or less on failure.
  virtual int GetText(WindowHandle window, char16_t* buffer, int capacity) = 0;
  virtual void SetText(WindowHandle window, std::u16string_view text) = 0;
  // GetClassNameW: the name the window's class was registered with; empty on failure.
  virtual std::u16string ClassName(WindowHandle window) = 0;
};

// The clipboard, Unicode text format only.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Opens, empties and sets CF_UNICODETEXT (with its terminating U+0000).
  // Throws OsFailure when the clipboard cannot be opened or set.
  virtual void SetUnicodeText(std::u16string_view text) = 0;
};

// Whole-file operations. No file is ever held open between calls.
class Files {
 public:
  virtual ~Files() = default;
  // A regular file of that name exists (a directory does not count).
  virtual bool IsRegularFile(std::u16string_view path) = 0;
  // Opens with read sharing only, reads everything, closes. Throws OsFailure.
  virtual Bytes ReadAll(std::u16string_view path) = 0;
  // Creates or truncates, writes everything and flushes it to the disk. Throws
  // OsFailure; the file may then hold part of the bytes.
  virtual void WriteAll(std::u16string_view path, const Bytes& bytes) = 0;
  // ReplaceFileW, which keeps to's attributes and security descriptor and
  // leaves the old file as backup; under Wine, whose ReplaceFileW is not one
  // step, a rename. Throws OsFailure, with one of the codes below when the
  // replace stopped half-way.
  virtual void Replace(std::u16string_view from, std::u16string_view to,
                       std::u16string_view backup) = 0;
  // Renames from to to in one step, replacing a file there (MoveFileExW, write
  // through). Throws OsFailure.
  virtual void Rename(std::u16string_view from, std::u16string_view to) = 0;
  // Deletes a file, a read-only one too. True when nothing of that name is left
  // afterwards (a missing file included); false for a folder or a file that
  // cannot be deleted, which stays as it was. Never throws.
  virtual bool Remove(std::u16string_view path) noexcept = 0;
  // Byte-for-byte copy that never overwrites. Throws OsFailure.
  virtual void Copy(std::u16string_view from, std::u16string_view to) = 0;
  // The running executable's full path.
  virtual std::u16string ExecutablePath() = 0;
  // The process's current working directory, with its trailing separator.
  virtual std::u16string CurrentDirectory() = 0;
};

// Where a ReplaceFileW given a backup name stopped: the old file could not be
// moved away, or the new one could not take its name (both files keep their
// names either way), or the new one could not be moved after the old one went
// to the backup name, which it is now found under alone.
inline constexpr std::uint32_t kUnableToRemoveReplaced = 1175;
inline constexpr std::uint32_t kUnableToMoveReplacement = 1176;
inline constexpr std::uint32_t kUnableToMoveReplacement2 = 1177;

// The system's ANSI code page and its upper-case mapping.
class Text {
 public:
  virtual ~Text() = default;
  // MultiByteToWideChar(CP_ACP, 0): lenient, unmappable bytes become U+FFFD or the like.
  virtual std::u16string DecodeAnsi(const std::uint8_t* data, std::size_t size) = 0;
  // WideCharToMultiByte(CP_ACP): what the code page lacks becomes its default character.
  virtual Bytes EncodeAnsi(std::u16string_view text) = 0;
  // CharUpperBuffW over the whole string.
  virtual void UpperCaseInPlace(std::u16string& text) = 0;
};

// Screen geometry and the fonts the screen can show.
class Screen {
 public:
  virtual ~Screen() = default;
  // SystemParametersInfoW(SPI_GETWORKAREA).
  virtual Rect WorkArea() = 0;
  // Every monitor's work area: EnumDisplayMonitors and GetMonitorInfoW.
  virtual std::vector<Rect> MonitorWorkAreas() = 0;
  // GetSystemMetrics(SM_CYFRAME) and GetSystemMetrics(SM_CYCAPTION).
  virtual int FrameHeight() = 0;
  virtual int CaptionHeight() = 0;
  // GetDeviceCaps(LOGPIXELSX) of the desktop window's DC.
  virtual int DpiX() = 0;
  // EnumFontFamiliesExW lists a face of exactly that name; a substitute the
  // system would draw instead does not count.
  virtual bool IsFontInstalled(std::u16string_view face) = 0;
};

// Modal boxes, titled with the application title, one OK button each; they
// return when the user closes them.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void ShowMessage(std::u16string_view text) = 0;
  // The standard error box: error icon; the text as given (see StandardErrorText).
  virtual void ShowError(std::u16string_view text) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW(owner, "OPEN", "notepad", parameters, directory, SW_SHOWNORMAL);
  // the result is not looked at.
  virtual void OpenNotepad(WindowHandle owner, std::u16string_view parameters,
                           std::u16string_view directory) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Sleeps, but answers at once every message that another thread or program
  // sends to this thread's windows (a clipboard reader under Wine waits on its
  // owner's answer); nothing posted, no input, is taken from the queue.
  virtual void SleepAnsweringSent(std::uint32_t milliseconds) = 0;
};

// The named mutex that marks the running instance in the user's session.
struct InstanceMutex {
  bool created = false;         // a handle came back (kept for the process's life)
  bool already_exists = false;  // GetLastError() was ERROR_ALREADY_EXISTS
};

class Session {
 public:
  virtual ~Session() = default;
  // CreateMutexW(NULL, FALSE, name), then GetLastError() only if it returned a handle.
  virtual InstanceMutex CreateInstanceMutex(std::u16string_view name) = 0;
};

// Everything the core may call, handed around by reference.
struct Platform {
  Windows& windows;
  Clipboard& clipboard;
  Files& files;
  Text& text;
  Screen& screen;
  Dialogs& dialogs;
  Shell& shell;
  Clock& clock;
  Session& session;
};

}  // namespace quillomi::platform
