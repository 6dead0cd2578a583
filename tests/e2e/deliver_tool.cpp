// Delivers phrases through the real Win32 code, as the panel does, from the
// command line: for the end-to-end tests and the delivery demo.
//
//   quillomi_deliver.exe [--report FILE] [--party] [--free-text]
//                        [--radio normal|party|wisper|emote|yell|chat]
//                        [--linger MS] PHRASE...
//
// It shows a small window of the panel's class (the class the delivery raises
// again afterwards), loads the normal-speech list from the current directory,
// delivers each phrase in turn and reports to FILE: "start <counter>" and
// "end <counter>" around each delivery, then the window's final caption.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "delivery/message_sender.h"
#include "platform/errors.h"
#include "platform/utf.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "ui/panel_caption.h"

namespace {

const wchar_t* const kTitle = quillomi::win32::W(quillomi::ui::kForm1Caption.data());

long long Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

std::u16string U16(const wchar_t* text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

quillomi::delivery::SpeechMode::Radio ParseRadio(const std::wstring& name) {
  using Radio = quillomi::delivery::SpeechMode::Radio;
  if (name == L"party") return Radio::kParty;
  if (name == L"wisper") return Radio::kWisper;
  if (name == L"emote") return Radio::kEmote;
  if (name == L"yell") return Radio::kYell;
  if (name == L"chat") return Radio::kChat;
  return Radio::kNormal;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring report_path;
  DWORD linger_ms = 0;
  quillomi::delivery::SpeechMode mode;
  std::vector<std::u16string> phrases;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--report" && i + 1 < argc) {
      report_path = argv[++i];
    } else if (arg == L"--linger" && i + 1 < argc) {
      linger_ms = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10));
    } else if (arg == L"--party") {
      mode.party_box = true;
    } else if (arg == L"--free-text") {
      mode.free_text_shown = true;
    } else if (arg == L"--radio" && i + 1 < argc) {
      mode.radio = ParseRadio(argv[++i]);
    } else {
      phrases.push_back(U16(argv[i]));
    }
  }
  LocalFree(argv);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hbrBackground = CreateSolidBrush(RGB(255, 251, 240));
  wc.lpszClassName = quillomi::win32::W(quillomi::ids::kPanelClass.data());
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, kTitle, WS_OVERLAPPED | WS_CAPTION, 100,
                                60, 760, 120, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);

  quillomi::win32::Win32Platform win32;
  win32.SetDialogOwner(reinterpret_cast<quillomi::platform::WindowHandle>(window));
  win32.SetClipboardOwner(reinterpret_cast<quillomi::platform::WindowHandle>(window));
  auto& platform = win32.Get();
  quillomi::delivery::MessageSender sender(platform);
  sender.SetPanel(reinterpret_cast<quillomi::platform::WindowHandle>(window), U16(kTitle));

  FILE* report = report_path.empty() ? nullptr : _wfopen(report_path.c_str(), L"wb");
  auto write = [&](const std::string& line) {
    if (!report) return;
    std::fprintf(report, "%s\n", line.c_str());
    std::fflush(report);
  };

  // Every failure is shown once in the standard error box, and the run goes on.
  auto guarded = [&](auto&& action) {
    try {
      action();
    } catch (...) {
      platform.dialogs.ShowError(quillomi::StandardErrorText(quillomi::DescribeCurrentException()));
    }
  };
  guarded([&] { sender.LoadNormalSpeechList(); });
  for (const auto& phrase : phrases) {
    write("start " + std::to_string(Now()));
    guarded([&] { sender.ComSendMessage(phrase, mode); });
    write("end " + std::to_string(Now()));
  }
  wchar_t caption[512] = {};
  GetWindowTextW(window, caption, 512);
  write("caption " + quillomi::ToUtf8(U16(caption)));
  if (report) std::fclose(report);
  // Keeps the window up for a screenshot, still answering its messages.
  for (const DWORD end = GetTickCount() + linger_ms; GetTickCount() < end;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  DestroyWindow(window);
  return 0;
}
