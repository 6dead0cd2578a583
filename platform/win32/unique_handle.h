// Ownership of Windows handles: move-only, so no copy can close a handle twice.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace quillomi::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::pointer;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(pointer handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  pointer get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  // Gives up ownership, e.g. once the system has taken the handle over.
  pointer release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  void reset(pointer handle = Traits::Invalid()) noexcept {
    const pointer old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  pointer handle_ = Traits::Invalid();
};

// Most handles: 0 means none, and one call closes it.
template <typename Pointer, auto kClose>
struct NullTraits {
  using pointer = Pointer;
  static pointer Invalid() noexcept { return nullptr; }
  static void Close(pointer handle) noexcept { kClose(handle); }
};

// CreateFileW reports failure with INVALID_HANDLE_VALUE, not 0.
struct FileHandleTraits {
  using pointer = HANDLE;
  static pointer Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(pointer handle) noexcept { ::CloseHandle(handle); }
};

using UniqueKernelHandle = UniqueHandle<NullTraits<HANDLE, ::CloseHandle>>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueGlobal = UniqueHandle<NullTraits<HGLOBAL, ::GlobalFree>>;
using UniqueLocal = UniqueHandle<NullTraits<HLOCAL, ::LocalFree>>;
using UniqueWindow = UniqueHandle<NullTraits<HWND, ::DestroyWindow>>;
using UniqueGdiObject = UniqueHandle<NullTraits<HGDIOBJ, ::DeleteObject>>;
using UniqueIcon = UniqueHandle<NullTraits<HICON, ::DestroyIcon>>;
using UniqueImageList = UniqueHandle<NullTraits<HIMAGELIST, ImageList_Destroy>>;

// A window's device context goes back to that window, so it keeps both.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context for a scope and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_ != nullptr) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace quillomi::win32
