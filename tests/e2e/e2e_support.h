// What the end-to-end driver needs to run real programs under Wine and watch
// them: processes, a scratch folder, log files, message boxes, the clipboard.
// Every wait has a deadline; nothing relies on a fixed sleep alone.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace quillomi::e2e {

using namespace std::chrono_literals;

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
