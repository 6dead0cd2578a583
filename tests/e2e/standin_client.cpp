// A stand-in for the game client, for end-to-end tests under Wine:
//
//   standin_client.exe classic|ec|classicuo <log> [--no-inner]
//
// classic: an "Ultima Online" window whose inner child logs WM_SETFOCUS, its
// keys and the clipboard at Ctrl+V. ec: a "UOSA ..." window and a "UOWIN" one
// that logs its keys. classicuo: an "SDL_app" window whose chat box reads its
// keys in 40 ms frames while foreground (ChatFrame). A low-level hook logs
// every key exactly, which a window that loses the foreground may not. Each
// line carries the performance counter.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace {

using quillomi::e2e::ClipboardText;
using quillomi::e2e::Now;
using quillomi::e2e::Utf8;

FILE* g_log = nullptr;
HHOOK g_hook = nullptr;

// Control characters are escaped so that one event stays one line.
std::string Escape(const std::wstring& text) {
  std::string out;
  for (char c : Utf8(text))
    out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\\' ? "\\\\" : std::string(1, c);
  return out;
}

void Log(const std::string& line) {
  std::fprintf(g_log, "%lld %s\n", Now(), line.c_str());
  std::fflush(g_log);
}

void LogKey(const char* who, UINT message, WPARAM vk, LPARAM lparam) {
  const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
  const bool sys = message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%s %s%s vk=0x%02x scan=0x%02x", who, sys ? "sys" : "",
                up ? "up" : "down", static_cast<unsigned>(vk),
                static_cast<unsigned>((static_cast<unsigned long long>(lparam) >> 16) & 0xFF));
  Log(buffer);
}

LRESULT CALLBACK LowLevelKeyboard(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    const bool up = wparam == WM_KEYUP || wparam == WM_SYSKEYUP;
    LogKey("hook", up ? WM_KEYUP : WM_KEYDOWN, info->vkCode,
           static_cast<LPARAM>(info->scanCode) << 16);
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

HWND g_inner = nullptr;
// Ctrl as the inner window's own key messages tell it: under Wine, GetKeyState
// can lag behind when the keys arrive close together.
bool g_inner_ctrl = false;

// The classic client's inner window, or the EC's "UOWIN".
LRESULT CALLBACK KeysProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_KEYDOWN && message != WM_KEYUP && message != WM_SYSKEYDOWN &&
      message != WM_SYSKEYUP)
    return DefWindowProcW(window, message, wparam, lparam);
  if (window != g_inner) {
    LogKey("uowin", message, wparam, lparam);
    return 0;
  }
  LogKey("inner", message, wparam, lparam);
  if (wparam == VK_CONTROL) g_inner_ctrl = message == WM_KEYDOWN;
  if (message == WM_KEYDOWN && wparam == 'V' &&
      (g_inner_ctrl || (GetKeyState(VK_CONTROL) & 0x8000)))
    Log("inner paste \"" + Escape(ClipboardText()) + "\"");
  return 0;
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETFOCUS:
      // Like a game window: the keyboard focus goes on to the inner window.
      if (g_inner) SetFocus(g_inner);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

std::vector<MSG> g_frame_keys;
std::wstring g_box;
std::string g_mode = "default";
bool g_cuo_ctrl = false;

// Ctrl+V appends the clipboard (CR dropped, LF a space, 500 at most), a speech
// prefix switches the mode, Enter says at most 100 characters cut at a space.
void ChatFrame(HWND window) {
  for (const MSG& key : g_frame_keys) {
    if (GetForegroundWindow() != window) break;
    const bool down = key.message == WM_KEYDOWN;
    if (key.wParam == VK_CONTROL) g_cuo_ctrl = down;
    if (down && key.wParam == 'V' && g_cuo_ctrl) {
      for (wchar_t c : ClipboardText())
        if (c != L'\r' && g_box.size() < 500) g_box += c == L'\n' ? L' ' : c;
      Log("box " + g_mode + " \"" + Escape(g_box) + "\"");
    }
    if (down && key.wParam == VK_RETURN) {
      std::size_t cut = g_box.size() <= 100 ? g_box.size() : g_box.find_last_of(L' ', 100);
      if (cut == std::wstring::npos) cut = 100;
      Log("say " + g_mode + " \"" + Escape(g_box.substr(0, cut)) + "\"");
      g_box.erase(0, std::min(g_box.find_first_not_of(L' ', cut), g_box.size()));
      if (g_box.empty()) g_mode = "default";
    }
  }
  g_frame_keys.clear();
  static const std::pair<std::wstring, const char*> kModes[] = {
      {L"/", "party"},   {L"\\", "guild"}, {L"|", "alliance"}, {L",", "chat"},
      {L"-", "command"}, {L": ", "emote"}, {L"; ", "whisper"}, {L"! ", "yell"}};
  for (const auto& [prefix, mode] : kModes)
    if (g_mode == "default" && g_box.starts_with(prefix)) g_mode = mode, g_box.clear();
}

LRESULT CALLBACK ChatProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_KEYDOWN || message == WM_KEYUP) {
    g_frame_keys.push_back({window, message, wparam, lparam, 0, {}});
    return 0;
  }
  if (message == WM_TIMER) ChatFrame(window);
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

ATOM Register(const wchar_t* name, WNDPROC proc, HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  const std::wstring mode = argv[1];
  g_log = _wfopen(argv[2], L"ab");
  if (!g_log) return 3;
  const bool inner = !(argc > 3 && std::wstring(argv[3]) == L"--no-inner");

  g_hook = SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeyboard, instance, 0);
  if (mode == L"classic") {
    // Frame and inner window share the class name, with their own procedures.
    Register(L"Ultima Online", FrameProc, instance);
    HWND frame = CreateWindowExW(0, L"Ultima Online", L"Ultima Online", WS_OVERLAPPEDWINDOW, 400,
                                 300, 640, 400, nullptr, nullptr, instance, nullptr);
    if (inner) {
      g_inner = CreateWindowExW(0, L"Ultima Online", L"", WS_CHILD | WS_VISIBLE, 0, 0, 620, 360,
                                frame, nullptr, instance, nullptr);
      SetWindowLongPtrW(g_inner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeysProc));
    }
    ShowWindow(frame, SW_SHOWNORMAL);
  } else if (mode == L"classicuo") {
    Register(L"SDL_app", ChatProc, instance);
    HWND game = CreateWindowExW(0, L"SDL_app", L"Tester - ClassicUO - 1.0.0", WS_OVERLAPPEDWINDOW,
                                400, 300, 640, 400, nullptr, nullptr, instance, nullptr);
    ShowWindow(game, SW_SHOWNORMAL);
    SetTimer(game, 1, 40, nullptr);
  } else {
    Register(L"QuillomiStandinEC", FrameProc, instance);
    Register(L"UOWIN", KeysProc, instance);
    HWND frame =
        CreateWindowExW(0, L"QuillomiStandinEC", L"UOSA - Enhanced Client", WS_OVERLAPPEDWINDOW,
                        400, 300, 640, 400, nullptr, nullptr, instance, nullptr);
    ShowWindow(frame, SW_SHOWNORMAL);
    HWND target = CreateWindowExW(0, L"UOWIN", L"", WS_POPUP | WS_VISIBLE, 420, 340, 300, 200,
                                  nullptr, nullptr, instance, nullptr);
    ShowWindow(target, SW_SHOWNORMAL);
  }
  Log("ready");

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Only a posted focus message passes through the queue; real focus changes
    // are sent straight to the window procedure.
    if (msg.message == WM_SETFOCUS) Log(msg.hwnd == g_inner ? "inner posted WM_SETFOCUS" : "posted WM_SETFOCUS");
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (g_hook) UnhookWindowsHookEx(g_hook);
  std::fclose(g_log);
  LocalFree(argv);
  return 0;
}
