// Windows, files and message pumping for the tests that run on real Windows
// (or Wine). Class names carry the process id: test processes share one
// desktop, and a lookup by class must find this process's windows only.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/platform.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace quillomi::win32::test {

inline std::u16string ProcessUnique(std::u16string_view stem) {
  std::u16string name(stem);
  for (char c : std::to_string(::GetCurrentProcessId())) name += static_cast<char16_t>(c);
  return name;
}

// A window class registered for the lifetime of the object.
class TestWindowClass {
 public:
  explicit TestWindowClass(std::u16string_view stem) : name_(ProcessUnique(stem)) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = ::DefWindowProcW;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = W(name_);
    registered_ = ::RegisterClassW(&window_class) != 0;
  }
  TestWindowClass(const TestWindowClass&) = delete;
  TestWindowClass& operator=(const TestWindowClass&) = delete;
  ~TestWindowClass() {
    if (registered_) ::UnregisterClassW(W(name_), ::GetModuleHandleW(nullptr));
  }
  bool registered() const { return registered_; }
  const std::u16string& name() const { return name_; }

 private:
  std::u16string name_;
  bool registered_ = false;
};

// parent is the owner for a top-level window, the parent for a WS_CHILD one.
inline UniqueWindow MakeWindow(const TestWindowClass& window_class, std::u16string_view title,
                               DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr) {
  const std::u16string text(title);
  return UniqueWindow(::CreateWindowExW(0, W(window_class.name()), W(text), style, 10, 10, 200, 120,
                                        parent, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

// Runs the calling thread's messages until done() or the deadline.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    ::Sleep(10);
  }
}

// A fresh directory under the temporary folder, removed with all it holds.
class TempDirectory {
 public:
  TempDirectory() {
    char16_t base[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, W(base));
    std::u16string path(base, length);
    path += ProcessUnique(u"quillomi-test-");
    path += u'-';
    for (char c : std::to_string(++counter_)) path += static_cast<char16_t>(c);
    path_ = path;
    std::filesystem::create_directories(std::filesystem::path(path_));
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  ~TempDirectory() {
    // Read-only files would stop remove_all.
    std::error_code ignored;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::filesystem::path(path_), ignored))
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
  }
  // The directory without a trailing separator.
  const std::u16string& path() const { return path_; }
  std::u16string operator/(std::u16string_view name) const {
    return path_ + u'\\' + std::u16string(name);
  }

 private:
  static inline int counter_ = 0;
  std::u16string path_;
};

// Test-side file access, independent of the code under test.
inline void PutFile(const std::u16string& path, const platform::Bytes& bytes) {
  const UniqueFile file(::CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create test file");
  DWORD written = 0;
  if (!bytes.empty() &&
      !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    throw std::runtime_error("cannot write test file");
}

inline platform::Bytes FileBytes(const std::u16string& path) {
  const UniqueFile file(::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot open test file");
  platform::Bytes bytes(::GetFileSize(file.get(), nullptr));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    throw std::runtime_error("cannot read test file");
  return bytes;
}

inline bool Exists(const std::u16string& path) {
  return ::GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace quillomi::win32::test
