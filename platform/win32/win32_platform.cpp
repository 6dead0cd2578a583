#include "platform/win32/win32_platform.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

#include "platform/win32/system_error.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace quillomi::win32 {

using platform::Bytes;
using platform::WindowHandle;

namespace {

constexpr wchar_t kApplicationTitle[] = L"Quillomi";

// ReadFile, WriteFile and CharUpperBuffW count in DWORDs; larger data goes in pieces.
constexpr std::size_t kChunk = std::size_t{1} << 30;

HWND Hwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
WindowHandle Handle(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

// Holds the clipboard open for one change; the system allows one opener at a time.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    if (!::OpenClipboard(owner)) throw LastErrorFailure();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() { ::CloseClipboard(); }
};

struct Enumeration {
  const std::function<void(WindowHandle)>& visit;
  std::exception_ptr failure;
};


// Nothing may unwind through EnumWindows: a failure is kept and rethrown once it
// has returned, and no window after it is visited.
BOOL CALLBACK VisitTopWindow(HWND window, LPARAM parameter) noexcept {
  auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
  if (!enumeration.failure) {
    try {
      enumeration.visit(Handle(window));
    } catch (...) {
      enumeration.failure = std::current_exception();
    }
  }
  return TRUE;
}

// While a box is open every other window of the program is disabled, so no
// click, key or close starts anything under it; the box's owner is left to
// MessageBoxW, which disables it itself. Only the windows disabled here are
// enabled again: one that was disabled before stays so.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND owner) : owner_(owner) {
    ::EnumThreadWindows(::GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
  ~OtherWindowsDisabled() {
    for (HWND window : disabled_)
      if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  }

 private:
  static BOOL CALLBACK Disable(HWND window, LPARAM parameter) noexcept {
    auto& self = *reinterpret_cast<OtherWindowsDisabled*>(parameter);
    if (window == self.owner_ || !::IsWindowEnabled(window)) return TRUE;
    try {
      self.disabled_.push_back(window);
    } catch (...) {
      return FALSE;  // one that could not be remembered is left enabled
    }
    ::EnableWindow(window, FALSE);
    return TRUE;
  }

  HWND owner_;
  std::vector<HWND> disabled_;
};

}  // namespace

// Wine tells itself apart by an export of its own.
bool RunsOnWine() {
  static const bool wine =
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

Win32Platform::Win32Platform() : bundle_{*this, *this, *this, *this, *this, *this, *this, *this, *this} {}

// --- Windows ----------------------------------------------------------------

WindowHandle Win32Platform::FindTopWindow(std::u16string_view class_name) {
  return Handle(::FindWindowW(Terminated(class_name).get(), nullptr));
}

WindowHandle Win32Platform::FindChildWindow(WindowHandle parent, std::u16string_view class_name) {
  return Handle(::FindWindowExW(Hwnd(parent), nullptr, Terminated(class_name).get(), nullptr));
}

void Win32Platform::BringToTop(WindowHandle window) {
  ::BringWindowToTop(Hwnd(window));
}

void Win32Platform::SetForeground(WindowHandle window) {
  ::SetForegroundWindow(Hwnd(window));
}

void Win32Platform::PostSetFocus(WindowHandle window) {
  ::PostMessageW(Hwnd(window), WM_SETFOCUS, 0, 0);
}

void Win32Platform::SendRestore(WindowHandle window) {
  ::SendMessageW(Hwnd(window), WM_SYSCOMMAND, SC_RESTORE, 0);
}

void Win32Platform::KeyEvent(std::uint8_t vk, std::uint8_t scan, bool key_up) {
  ::keybd_event(vk, scan, key_up ? KEYEVENTF_KEYUP : 0, 0);
}

std::uint32_t Win32Platform::MapVirtualKeyToScan(std::uint32_t vk) {
  return ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
}

bool Win32Platform::IsKeyDown(std::uint8_t vk) {
  return (static_cast<unsigned short>(::GetAsyncKeyState(vk)) & 0x8000U) != 0;
}

void Win32Platform::EnumTopWindows(const std::function<void(WindowHandle)>& visit) {
  Enumeration enumeration{visit, nullptr};
  ::EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&enumeration));
  if (enumeration.failure) std::rethrow_exception(enumeration.failure);
}

WindowHandle Win32Platform::Owner(WindowHandle window) {
  return Handle(::GetWindow(Hwnd(window), GW_OWNER));
}

bool Win32Platform::IsVisible(WindowHandle window) {
  return ::IsWindowVisible(Hwnd(window)) != 0;
}

int Win32Platform::GetText(WindowHandle window, char16_t* buffer, int capacity) {
  return ::GetWindowTextW(Hwnd(window), W(buffer), capacity);
}

void Win32Platform::SetText(WindowHandle window, std::u16string_view text) {
  ::SetWindowTextW(Hwnd(window), Terminated(text).get());
}

// --- Clipboard --------------------------------------------------------------

void Win32Platform::SetUnicodeText(std::u16string_view text) {
  const ClipboardSession session(Hwnd(clipboard_owner_));
  if (!::EmptyClipboard()) throw LastErrorFailure();

  const std::size_t units = text.size() + 1;  // with its terminating U+0000
  UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, units * sizeof(char16_t)));
  if (!memory) throw LastErrorFailure();
  auto* target = static_cast<char16_t*>(::GlobalLock(memory.get()));
  if (target == nullptr) throw LastErrorFailure();
  std::copy(text.begin(), text.end(), target);
  target[text.size()] = u'\0';
  ::GlobalUnlock(memory.get());

  if (::SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) throw LastErrorFailure();
  // The clipboard owns the memory now.
  memory.release();
}

// --- Files ------------------------------------------------------------------

bool Win32Platform::IsRegularFile(std::u16string_view path) {
  const DWORD attributes = ::GetFileAttributesW(Terminated(path).get());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Bytes Win32Platform::ReadAll(std::u16string_view path) {
  // Others may read alongside, but no one may write while it is read; a file
  // someone holds open for writing cannot be opened at all.
  const UniqueFile file(::CreateFileW(Terminated(path).get(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw LastErrorFailure();

  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) throw LastErrorFailure();
  Bytes bytes;
  if (static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
    throw Failure(ERROR_FILE_TOO_LARGE);
  bytes.resize(static_cast<std::size_t>(size.QuadPart));

  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto wanted = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, wanted, &got, nullptr))
      throw LastErrorFailure();
    if (got == 0) break;  // shorter than its size said: what is there is all there is
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

void Win32Platform::WriteAll(std::u16string_view path, const Bytes& bytes) {
  const UniqueFile file(::CreateFileW(Terminated(path).get(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw LastErrorFailure();

  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto wanted = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, wanted, &written, nullptr))
      throw LastErrorFailure();
    if (written == 0) throw Failure(ERROR_WRITE_FAULT);
    done += written;
  }
  // Before a replace puts it in place of the old file, it must be on the disk.
  if (!::FlushFileBuffers(file.get())) throw LastErrorFailure();
}

void Win32Platform::Replace(std::u16string_view from, std::u16string_view to) {
  const auto target = Terminated(to);
  // A rename on Windows refuses a read-only target with ERROR_ACCESS_DENIED;
  // Wine's, run as root, does not. The same refusal comes first everywhere,
  // and with it the message a read-only file always gave.
  const DWORD attributes = ::GetFileAttributesW(target.get());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    throw Failure(ERROR_ACCESS_DENIED);
  // Wine's ReplaceFileW keeps nothing of the old file, and it moves the old
  // file away and deletes it before the new one takes its name: a kill in
  // between leaves no file at all. There the rename, in one step, does as much.
  if (RunsOnWine()) return Rename(from, to);
  // The new file takes over the old one's attributes, security descriptor and
  // streams; a part of that which cannot be merged does not stop the save.
  if (::ReplaceFileW(target.get(), Terminated(from).get(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
    return;
  const DWORD error = ::GetLastError();
  // Both files still have their names when the old one cannot be removed (a
  // program holds it open): the rename then fails as before, with its reason.
  if (error == ERROR_UNABLE_TO_REMOVE_REPLACED) return Rename(from, to);
  throw Failure(error);
}

void Win32Platform::Rename(std::u16string_view from, std::u16string_view to) {
  if (!::MoveFileExW(Terminated(from).get(), Terminated(to).get(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw LastErrorFailure();
}

bool Win32Platform::Remove(std::u16string_view path) noexcept {
  try {
    const auto name = Terminated(path);
    const DWORD attributes = ::GetFileAttributesW(name.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      const DWORD error = ::GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    const bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (read_only) {
      // No attribute left is said with FILE_ATTRIBUTE_NORMAL, never with 0.
      const DWORD writable = attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
      ::SetFileAttributesW(name.get(), writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
    }
    if (!::DeleteFileW(name.get())) {
      if (read_only) ::SetFileAttributesW(name.get(), attributes);
      return false;
    }
    // A file that another handle shares for deletion lingers until that closes.
    return ::GetFileAttributesW(name.get()) == INVALID_FILE_ATTRIBUTES;
  } catch (...) {
    // Only the copy of the path can fail; nothing was touched.
    return false;
  }
}

void Win32Platform::Copy(std::u16string_view from, std::u16string_view to) {
  if (!::CopyFileW(Terminated(from).get(), Terminated(to).get(), TRUE)) throw LastErrorFailure();
}

std::u16string Win32Platform::ExecutablePath() {
  // The call gives no size up front; a buffer that came back full may have cut
  // the path short, so it grows until the path fits (long paths reach 32767).
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, W(path.data()), static_cast<DWORD>(path.size()));
    if (length == 0) throw LastErrorFailure();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() > 0x10000) throw Failure(ERROR_INSUFFICIENT_BUFFER);
    path.resize(path.size() * 2);
  }
}

std::u16string Win32Platform::CurrentDirectory() {
  std::u16string directory;
  for (;;) {
    // With too small a buffer the call returns the size it needs, terminator
    // included; another thread may change the directory in between.
    const DWORD needed =
        ::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), W(directory.data()));
    if (needed == 0) throw LastErrorFailure();
    if (needed < directory.size()) {
      directory.resize(needed);
      break;
    }
    directory.resize(needed);
  }
  if (directory.back() != u'\\') directory += u'\\';
  return directory;
}

// --- Text -------------------------------------------------------------------

std::u16string Win32Platform::DecodeAnsi(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  // A split could cut a double-byte character in two; nothing this large is ever decoded.
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw Failure(ERROR_ARITHMETIC_OVERFLOW);
  const auto* in = reinterpret_cast<const char*>(data);
  const int length = static_cast<int>(size);
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, in, length, nullptr, 0);
  if (needed <= 0) throw LastErrorFailure();
  std::u16string text(static_cast<std::size_t>(needed), u'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, in, length, W(text.data()), needed) <= 0)
    throw LastErrorFailure();
  return text;
}

Bytes Win32Platform::EncodeAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw Failure(ERROR_ARITHMETIC_OVERFLOW);
  const int length = static_cast<int>(text.size());
  const int needed =
      ::WideCharToMultiByte(CP_ACP, 0, W(text.data()), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) throw LastErrorFailure();
  Bytes bytes(static_cast<std::size_t>(needed));
  if (::WideCharToMultiByte(CP_ACP, 0, W(text.data()), length,
                            reinterpret_cast<char*>(bytes.data()), needed, nullptr, nullptr) <= 0)
    throw LastErrorFailure();
  return bytes;
}

void Win32Platform::UpperCaseInPlace(std::u16string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const auto count = static_cast<DWORD>(std::min(text.size() - done, kChunk));
    ::CharUpperBuffW(W(text.data() + done), count);
    done += count;
  }
}

// --- Screen -----------------------------------------------------------------

platform::Rect Win32Platform::WorkArea() {
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left, area.top, area.right, area.bottom};
}

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM parameter) noexcept {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  try {
    reinterpret_cast<std::vector<platform::Rect>*>(parameter)->push_back(
        {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
  } catch (...) {
    return FALSE;  // the areas found so far are all there are
  }
  return TRUE;
}

}  // namespace

std::vector<platform::Rect> Win32Platform::MonitorWorkAreas() {
  std::vector<platform::Rect> areas;
  ::EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

int Win32Platform::FrameHeight() {
  return ::GetSystemMetrics(SM_CYFRAME);
}

int Win32Platform::CaptionHeight() {
  return ::GetSystemMetrics(SM_CYCAPTION);
}

int Win32Platform::DpiX() {
  const WindowDc desktop(::GetDesktopWindow());
  return ::GetDeviceCaps(desktop.get(), LOGPIXELSX);
}

// The name is compared as enumerated because a face asked for by name may come
// back as the family the system substitutes for it.
bool Win32Platform::IsFontInstalled(std::u16string_view face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  std::copy(face.begin(), face.end(), wanted.lfFaceName);
  const WindowDc screen(nullptr);
  const auto seen = [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
    const auto* name = reinterpret_cast<const wchar_t*>(data);
    return ::lstrcmpiW(font->lfFaceName, name) == 0 ? 0 : 1;
  };
  // The callback's 0 ends the enumeration, and is what it then returns.
  return ::EnumFontFamiliesExW(screen.get(), &wanted, seen,
                               reinterpret_cast<LPARAM>(wanted.lfFaceName), 0) == 0;
}

// --- Dialogs, Shell, Clock ----------------------------------------------------

void Win32Platform::ShowMessage(std::u16string_view text) {
  const OtherWindowsDisabled modal(Hwnd(dialog_owner_));
  ::MessageBoxW(Hwnd(dialog_owner_), Terminated(text).get(), kApplicationTitle, MB_OK);
}

void Win32Platform::ShowError(std::u16string_view text) {
  const OtherWindowsDisabled modal(Hwnd(dialog_owner_));
  ::MessageBoxW(Hwnd(dialog_owner_), Terminated(text).get(), kApplicationTitle,
                MB_OK | MB_ICONERROR);
}

void Win32Platform::OpenNotepad(WindowHandle owner, std::u16string_view parameters,
                                std::u16string_view directory) {
  ::ShellExecuteW(Hwnd(owner), L"OPEN", L"notepad", Terminated(parameters).get(),
                  Terminated(directory).get(), SW_SHOWNORMAL);
}

void Win32Platform::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

// The handle is never closed: Windows frees the name when the process ends.
platform::InstanceMutex Win32Platform::CreateInstanceMutex(std::u16string_view name) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, Terminated(name).get());
  if (!mutex) return {false, false};
  return {true, GetLastError() == ERROR_ALREADY_EXISTS};
}

// --- What serving ClassicUO adds: Windows and Clock --------------------------

std::u16string Win32Platform::ClassName(WindowHandle window) {
  // Registered class names are at most 256 characters.
  wchar_t name[257] = {};
  const int length = ::GetClassNameW(Hwnd(window), name, 257);
  return std::u16string(U(name), static_cast<std::size_t>(std::max(length, 0)));
}

// Only sent messages are answered: PM_QS_SENDMESSAGE leaves posted messages
// and input in the queue, where they wait for the message loop.
void Win32Platform::SleepAnsweringSent(std::uint32_t milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE,
                                  MWMO_INPUTAVAILABLE);
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace quillomi::win32
