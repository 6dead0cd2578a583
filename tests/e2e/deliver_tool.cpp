// Delivers phrases through the real Win32 code, as the panel does, for the
// end-to-end tests:
//
//   quillomi_deliver.exe [--report FILE] [--party] [--free-text]
//                        [--radio normal|party|wisper|emote|yell|chat] PHRASE...
//
// It shows a window of the panel's class (the one the delivery raises again),
// loads the normal-speech list from the current directory, delivers each
// phrase and writes the window's final caption to FILE.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "delivery/message_sender.h"
#include "platform/errors.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "ui/panel_caption.h"

namespace {

const wchar_t* const kTitle = quillomi::win32::W(quillomi::ui::kForm1Caption.data());

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
  quillomi::delivery::SpeechMode mode;
  std::vector<std::u16string> phrases;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--report" && i + 1 < argc) {
      report_path = argv[++i];
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

  // Every failure is shown once in the standard error box, and the run goes on.
  auto guarded = [&](auto&& action) {
    try {
      action();
    } catch (...) {
      platform.dialogs.ShowError(quillomi::StandardErrorText(quillomi::DescribeCurrentException()));
    }
  };
  guarded([&] { sender.LoadNormalSpeechList(); });
  for (const auto& phrase : phrases) guarded([&] { sender.ComSendMessage(phrase, mode); });
  if (!report_path.empty())
    quillomi::e2e::WriteFileBytes(report_path, quillomi::e2e::Utf8(quillomi::e2e::WindowText(window)));
  DestroyWindow(window);
  return 0;
}
