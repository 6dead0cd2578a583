// What the end-to-end driver needs to run real programs under Wine and watch
// them: processes, a scratch folder, log files, message boxes, the clipboard.
// Every wait has a deadline; nothing relies on a fixed sleep alone.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "res/identities.h"

namespace quillomi::e2e {

using namespace std::chrono_literals;

// The program's window classes, as the W calls take them.
inline const wchar_t* ClassName(std::u16string_view literal) {
  return reinterpret_cast<const wchar_t*>(literal.data());
}
inline const wchar_t* const kPanelClass = ClassName(ids::kPanelClass);
inline const wchar_t* const kListWindowClass = ClassName(ids::kListWindowClass);

// The folder of the running driver, where the other e2e programs and
// Quillomi.exe are built.
std::wstring BinDir();
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline);

class Process {
 public:
  Process() = default;
  Process(const std::wstring& exe, const std::vector<std::wstring>& args,
          const std::wstring& cwd = L"");
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  ~Process();
  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // The exit code, or -1 if it did not end before the deadline.
  long WaitExit(std::chrono::milliseconds deadline);
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& Path() const { return path_; }  // with trailing backslash

 private:
  std::wstring path_;
};

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A stand-in game client's log: each line "<counter> <event>".
struct LogLine {
  long long time = 0;
  std::string event;
};
std::vector<LogLine> ReadLog(const std::wstring& path);
std::vector<std::string> Events(const std::wstring& path, const std::string& prefix);

// The first message box ("#32770") of a process, or nullptr.
HWND FindMessageBox(DWORD process_id);
HWND WaitForMessageBox(DWORD process_id, std::chrono::milliseconds deadline);
// The box's text as its "Static" child holds it (LF CR pairs included).
std::wstring MessageBoxText(HWND box);
std::wstring WindowText(HWND window);
void PressOk(HWND box);

// Holds the clipboard open from another thread until destroyed, as another
// program would.
class ClipboardHolder {
 public:
  ClipboardHolder();
  ~ClipboardHolder();
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;
  bool Holding() const { return holding_; }

 private:
  std::thread thread_;
  HANDLE release_ = nullptr;
  HANDLE ready_ = nullptr;
  bool holding_ = false;
};

std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

double Median(std::vector<double> values);
double CounterToMs(long long ticks);

}  // namespace quillomi::e2e

namespace quillomi::e2e {

// A fresh program directory holding Quillomi.exe and, unless told otherwise,
// the shipped templates; the exe is started with it as working directory.
// It is dir itself, or the folder sub (with its trailing backslash) in it.
struct ProgramDir {
  TempDir dir;
  std::wstring sub;
  std::wstring Path() const { return dir.Path() + sub; }
  std::wstring Exe() const { return Path() + L"Quillomi.exe"; }
  std::wstring File(const std::wstring& name) const { return Path() + name; }
  std::wstring Settings() const { return Exe() + L"_ユーザー設定.ini"; }
};
void StageProgram(ProgramDir& program, bool templates = true);
Process StartQuillomi(const ProgramDir& program, const std::vector<std::wstring>& args = {});

// A top-level window of a process by class name, or nullptr.
HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, bool visible_only = true);
HWND WaitForProcessWindow(DWORD process_id, const wchar_t* class_name,
                          std::chrono::milliseconds deadline);
// A child control by its text, or nullptr.
HWND FindChildByText(HWND parent, const std::wstring& text);
RECT ScreenRectOf(HWND window);
// The control that has the keyboard focus in a window's thread.
HWND FocusOf(HWND window);
RECT ClientRectOnScreen(HWND window);

enum class Mouse { kLeft, kRight, kMiddle };
// Real input through SendInput: the pointer is warped until it stays put (a late
// motion event under Xvfb can move it back), then moved and pressed in one batch.
void MoveMouse(int x, int y);
void Click(int x, int y, Mouse button = Mouse::kLeft, const std::vector<WORD>& held_keys = {});
void DoubleClick(int x, int y);
void ClickCenter(HWND window, Mouse button = Mouse::kLeft, const std::vector<WORD>& held_keys = {});
void Drag(int from_x, int from_y, int to_x, int to_y);
void PressKey(WORD vk, const std::vector<WORD>& held_keys = {});
// Keys held down for as long as the object lives: a program that asks for the
// keys' state while it handles an event sees them whenever it gets to it.
class HoldKeys {
 public:
  explicit HoldKeys(std::vector<WORD> keys);
  ~HoldKeys();
  HoldKeys(const HoldKeys&) = delete;
  HoldKeys& operator=(const HoldKeys&) = delete;

 private:
  std::vector<WORD> keys_;
};
// Closes every Notepad window (a test that fails midway may leave one open).
void CloseNotepads();
void TypeText(const std::wstring& text);  // as Unicode key events

// Saves a PNG of the whole screen under the screenshots folder, if one is set
// in QUILLOMI_SCREENSHOTS.
void Screenshot(const std::string& name);

}  // namespace quillomi::e2e
