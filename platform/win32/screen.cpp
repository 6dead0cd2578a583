#include <algorithm>

#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

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

platform::Rect Screen::WorkArea() {
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left, area.top, area.right, area.bottom};
}

std::vector<platform::Rect> Screen::MonitorWorkAreas() {
  std::vector<platform::Rect> areas;
  ::EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

int Screen::FrameHeight() {
  return ::GetSystemMetrics(SM_CYFRAME);
}

int Screen::CaptionHeight() {
  return ::GetSystemMetrics(SM_CYCAPTION);
}

int Screen::DpiX() {
  const WindowDc desktop(::GetDesktopWindow());
  return ::GetDeviceCaps(desktop.get(), LOGPIXELSX);
}

// The name is compared as enumerated because a face asked for by name may come
// back as the family the system substitutes for it.
bool Screen::IsFontInstalled(std::u16string_view face) {
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

}  // namespace quillomi::win32
