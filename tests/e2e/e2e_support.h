// What the end-to-end driver, the demo and the figures need to run real
// programs under Wine and watch them. Every wait has a deadline.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "res/identities.h"

namespace quillomi::e2e {

using namespace std::chrono_literals;

inline const wchar_t* ClassName(std::u16string_view literal) {
  return reinterpret_cast<const wchar_t*>(literal.data());
}
inline const wchar_t* const kPanelClass = ClassName(ids::kPanelClass);
inline const wchar_t* const kListWindowClass = ClassName(ids::kListWindowClass);

// One classic delivery as the stand-in client's low-level hook sees it.
inline const std::vector<std::string> kClassicKeys = {
    "hook down vk=0x11 scan=0x1d", "hook down vk=0x56 scan=0x2f", "hook up vk=0x56 scan=0x2f",
    "hook up vk=0x11 scan=0x1d",   "hook down vk=0x0d scan=0x1c", "hook up vk=0x0d scan=0x1c",
    "hook down vk=0x0d scan=0x1c", "hook up vk=0x0d scan=0x1c"};

// Where the e2e programs and Quillomi.exe are built.
std::wstring BinDir();
std::string Utf8(const std::wstring& text);
long long Now();  // the performance counter
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline,
               std::chrono::milliseconds poll = 15ms);

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
// Those whose event starts with prefix.
std::vector<LogLine> ReadLog(const std::wstring& path, const std::string& prefix = "");
std::vector<std::string> Events(const std::wstring& path, const std::string& prefix);
// Once there are `count` of them, and a little later, so that a surplus shows.
std::vector<std::string> WaitForEvents(const std::wstring& path, const std::string& prefix,
                                       std::size_t count);
// standin_client.exe with `args` (its mode first) logging to `log`, once it is
// ready; not running if it never got there.
Process StartClient(const std::wstring& log, std::vector<std::wstring> args = {L"classic"});

// A window's text as it answers WM_GETTEXT, which GetWindowTextW does not ask
// of another process's controls.
std::wstring WindowText(HWND window);
// The top-level windows of a class, of one process unless process_id is 0.
std::vector<HWND> TopWindows(const wchar_t* class_name, DWORD process_id, bool visible_only = true);
HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, bool visible_only = true);
HWND WaitForProcessWindow(DWORD process_id, const wchar_t* class_name,
                          std::chrono::milliseconds deadline);
inline HWND WaitForMessageBox(DWORD process_id, std::chrono::milliseconds deadline) {
  return WaitForProcessWindow(process_id, L"#32770", deadline);
}
// The box's text as its "Static" child holds it (LF CR pairs included).
std::wstring MessageBoxText(HWND box);
void PressOk(HWND box);
// A direct child of that text.
HWND FindChildByText(HWND parent, const std::wstring& text);
// Clicks a check box or radio button of another process to that check.
bool SetCheck(HWND button, bool checked);
// Notepad once its title names the file it opened, or nullptr.
HWND WaitForNotepad(const std::wstring& file_part, std::chrono::milliseconds deadline);

std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

// A program directory: dir itself, or its folder sub (with trailing backslash).
struct ProgramDir {
  TempDir dir;
  std::wstring sub;
  std::wstring Path() const { return dir.Path() + sub; }
  std::wstring Exe() const { return Path() + L"Quillomi.exe"; }
  std::wstring File(const std::wstring& name) const { return Path() + name; }
  std::wstring Settings() const { return Exe() + L"_ユーザー設定.ini"; }
  Process Start() const { return Process(Exe(), {}, Path()); }  // in its folder
};
// Quillomi.exe and, unless told otherwise, the shipped templates.
void StageProgram(ProgramDir& program, bool templates = true);
// The panel of the program started into `app`, or nullptr if it does not show.
HWND StartPanel(const ProgramDir& program, Process& app, std::chrono::milliseconds deadline = 20s);

// What the end-to-end fixtures share: a program directory, the program started
// in it, its panel, and a stand-in client logging to log_.
class Session {
 protected:
  bool StartClient(std::vector<std::wstring> args = {L"classic"}) {
    client_ = e2e::StartClient(log_, std::move(args));
    return client_.Running();
  }
  // As the panel's close box does; the program's exit code.
  long Close() {
    PostMessageW(panel_, WM_CLOSE, 0, 0);
    return app_.WaitExit(20s);
  }
  // The text of the program's next message box, which is then OKed and gone.
  std::wstring AnswerBox(std::chrono::milliseconds deadline = 10s) {
    HWND box = WaitForMessageBox(app_.Id(), deadline);
    if (!box) return L"no box";
    const std::wstring text = MessageBoxText(box);
    PressOk(box);
    WaitUntil([&] { return !IsWindow(box); }, 5s);
    return text;
  }

  ProgramDir program_;
  Process app_;
  HWND panel_ = nullptr;
  Process client_;
  std::wstring log_ = program_.dir.Path() + L"client.log";
};

RECT ScreenRectOf(HWND window);
RECT ClientRectOnScreen(HWND window);
// The control that has the keyboard focus in a window's thread.
HWND FocusOf(HWND window);

// Each button's down flag; its up flag is the next bit.
enum class Mouse : DWORD {
  kLeft = MOUSEEVENTF_LEFTDOWN,
  kRight = MOUSEEVENTF_RIGHTDOWN,
  kMiddle = MOUSEEVENTF_MIDDLEDOWN
};
// Real input: the pointer is warped until it stays put (a late motion event
// under Xvfb can move it back), then moved and pressed in one SendInput.
void MoveMouse(int x, int y);
void Click(int x, int y, Mouse button = Mouse::kLeft, int clicks = 1);
void ClickCenter(HWND window, Mouse button = Mouse::kLeft);
void Drag(int from_x, int from_y, int to_x, int to_y);
void PressKey(WORD vk, std::vector<WORD> held_keys = {});
// The keys down in their order, or up in the reverse one.
void SendKeys(const std::vector<WORD>& keys, bool up);
void TypeText(const std::wstring& text);  // as Unicode key events

// Saves the whole screen under the folder QUILLOMI_SCREENSHOTS names, if set.
void Screenshot(const std::string& name);

}  // namespace quillomi::e2e
