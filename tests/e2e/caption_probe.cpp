// The hook half of caption_probe.h, run inside the program under test.
#include "tests/e2e/caption_probe.h"

namespace {

using quillomi::e2e::CaptionProbe;

void Measure(HWND control) {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, quillomi::e2e::kCaptionProbeMemory);
  if (!mapping) return;
  auto* probe = static_cast<CaptionProbe*>(
      MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(CaptionProbe)));
  if (probe) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW logical{};
    wchar_t text[256] = {};
    const int length = GetWindowTextW(control, text, 256);
    if (font && GetObjectW(font, sizeof logical, &logical) == sizeof logical) {
      HDC dc = GetDC(control);
      HGDIOBJ old = SelectObject(dc, font);
      SIZE extent{};
      GetTextExtentPoint32W(dc, text, length, &extent);
      INT zero = 0;
      GetCharWidth32W(dc, L'0', L'0', &zero);
      SelectObject(dc, old);
      ReleaseDC(control, dc);
      lstrcpynW(probe->face, logical.lfFaceName, LF_FACESIZE);
      probe->text_width = extent.cx;
      probe->zero_width = zero;
      probe->measured = 1;
    }
    UnmapViewOfFile(probe);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CaptionProbeHook(int code, WPARAM wparam, LPARAM lparam) {
  static const UINT probe_message = RegisterWindowMessageW(quillomi::e2e::kCaptionProbeMessage);
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && call->message == probe_message) Measure(call->hwnd);
  return CallNextHookEx(nullptr, code, wparam, lparam);
}
