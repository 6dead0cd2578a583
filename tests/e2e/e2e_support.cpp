#include "tests/e2e/e2e_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "platform/utf.h"

namespace quillomi::e2e {

std::wstring BinDir() {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  std::wstring path(buffer, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::string Utf8(const std::wstring& text) {
  return ToUtf8({reinterpret_cast<const char16_t*>(text.data()), text.size()});
}

long long Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline,
               std::chrono::milliseconds poll) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    Sleep(static_cast<DWORD>(poll.count()));
  }
  return condition();
}

Process::Process(const std::wstring& exe, const std::vector<std::wstring>& args,
                 const std::wstring& cwd) {
  // Each in quotes: no argument here holds a quote or ends in a backslash.
  std::wstring command = L"\"" + exe + L"\"";
  for (const auto& arg : args) command += L" \"" + arg + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &startup, &info_))
    info_ = {};
}

Process::Process(Process&& other) noexcept : info_(std::exchange(other.info_, {})) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    info_ = std::exchange(other.info_, {});
  }
  return *this;
}

Process::~Process() { Kill(); }

bool Process::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

long Process::WaitExit(std::chrono::milliseconds deadline) {
  if (!info_.hProcess) return -1;
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0)
    return -1;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<long>(code);
}

void Process::Kill() {
  if (!info_.hProcess) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

TempDir::TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  do {
    path_ = std::wstring(base) + L"quillomi-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
  } while (!CreateDirectoryW(path_.c_str(), nullptr));
}

TempDir::~TempDir() {
  std::error_code ignored;  // a file still held open stays behind
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::vector<LogLine> ReadLog(const std::wstring& path, const std::string& prefix) {
  std::vector<LogLine> lines;
  std::istringstream in(ReadFileBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    const auto space = line.find(' ');
    if (space != std::string::npos && line.compare(space + 1, prefix.size(), prefix) == 0)
      lines.push_back({std::stoll(line.substr(0, space)), line.substr(space + 1)});
  }
  return lines;
}

std::vector<std::string> Events(const std::wstring& path, const std::string& prefix) {
  std::vector<std::string> events;
  for (auto& line : ReadLog(path, prefix)) events.push_back(std::move(line.event));
  return events;
}

std::vector<std::string> WaitForEvents(const std::wstring& path, const std::string& prefix,
                                       std::size_t count) {
  WaitUntil([&] { return Events(path, prefix).size() >= count; }, 10s);
  Sleep(400);
  return Events(path, prefix);
}

Process StartClient(const std::wstring& log, std::vector<std::wstring> args) {
  args.insert(args.begin() + 1, log);
  Process client(BinDir() + L"standin_client.exe", args);
  if (!WaitUntil([&] { return !Events(log, "ready").empty(); }, 15s)) client.Kill();
  return client;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 10000, &ignored);
  return text;
}

std::vector<HWND> TopWindows(const wchar_t* class_name, DWORD process_id, bool visible_only) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, class_name, nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((!process_id || pid == process_id) && (!visible_only || IsWindowVisible(window)))
      found.push_back(window);
  }
  return found;
}

HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, bool visible_only) {
  const std::vector<HWND> found = TopWindows(class_name, process_id, visible_only);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForProcessWindow(DWORD process_id, const wchar_t* class_name,
                          std::chrono::milliseconds deadline) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindProcessWindow(process_id, class_name)) != nullptr; },
            deadline);
  return window;
}

std::wstring MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::wstring();
}

void PressOk(HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

HWND FindChildByText(HWND parent, const std::wstring& text) {
  for (HWND child = nullptr; (child = FindWindowExW(parent, child, nullptr, nullptr));)
    if (WindowText(child) == text) return child;
  return nullptr;
}

bool SetCheck(HWND button, bool checked) {
  const auto is = [&] {
    return (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) == checked;
  };
  if (!is()) SendMessageW(button, BM_CLICK, 0, 0);
  return WaitUntil(is, 5s);
}

HWND WaitForNotepad(const std::wstring& file_part, std::chrono::milliseconds deadline) {
  HWND notepad = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopWindows(L"Notepad", 0, false))
          if (WindowText(window).find(file_part) != std::wstring::npos) notepad = window;
        return notepad != nullptr;
      },
      deadline);
  return notepad;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 1s)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  CloseClipboard();
  return text;
}

void SetClipboardText(const std::wstring& text) {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 1s)) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

namespace {

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

std::vector<INPUT> KeyInputs(const std::vector<WORD>& keys, bool up) {
  std::vector<INPUT> inputs;
  for (std::size_t i = 0; i < keys.size(); ++i)
    inputs.push_back(KeyInput(keys[up ? keys.size() - 1 - i : i], up));
  return inputs;
}

INPUT MouseInput(DWORD flags, int x = 0, int y = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((x * 65535 + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((y * 65535 + height / 2) / (height - 1));
  }
  return input;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void StageProgram(ProgramDir& program, bool templates) {
  if (!program.sub.empty()) CreateDirectoryW(program.Path().c_str(), nullptr);
  CopyFileW((BinDir() + L"Quillomi.exe").c_str(), program.Exe().c_str(), FALSE);
  if (templates)
    for (const wchar_t* name : {L"Quillomi_Btn.dll", L"Quillomi_Lst.dll"})
      CopyFileW((BinDir() + name).c_str(), program.File(name).c_str(), FALSE);
}

HWND StartPanel(const ProgramDir& program, Process& app, std::chrono::milliseconds deadline) {
  app = program.Start();
  return WaitForProcessWindow(app.Id(), kPanelClass, deadline);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

RECT ScreenRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void MoveMouse(int x, int y) {
  for (int attempt = 0; attempt < 40; ++attempt) {
    SetCursorPos(x, y);
    Sleep(150);
    POINT at{};
    GetCursorPos(&at);
    if (at.x == x && at.y == y) break;
  }
}

void Click(int x, int y, Mouse button, int clicks) {
  MoveMouse(x, y);
  std::vector<INPUT> inputs = {MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y)};
  for (int click = 0; click < clicks; ++click) {
    inputs.push_back(MouseInput(static_cast<DWORD>(button)));
    inputs.push_back(MouseInput(static_cast<DWORD>(button) << 1));
  }
  Send(inputs);
}

void ClickCenter(HWND window, Mouse button) {
  const RECT rect = ScreenRectOf(window);
  Click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, button);
}

void Drag(int from_x, int from_y, int to_x, int to_y) {
  MoveMouse(from_x, from_y);
  Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from_x, from_y),
        MouseInput(MOUSEEVENTF_LEFTDOWN)});
  Sleep(200);
  for (int step = 1; step <= 10; ++step) {
    Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from_x + (to_x - from_x) * step / 10,
                     from_y + (to_y - from_y) * step / 10)});
    Sleep(30);
  }
  Sleep(200);
  Send({MouseInput(MOUSEEVENTF_LEFTUP)});
  // A system move loop that started late can miss the release and keep the
  // window in it: a further release ends it, and is harmless otherwise.
  for (int again = 0; again < 2; ++again) {
    Sleep(300);
    Send({MouseInput(MOUSEEVENTF_LEFTUP)});
  }
}

void PressKey(WORD vk, std::vector<WORD> held_keys) {
  held_keys.push_back(vk);
  std::vector<INPUT> inputs = KeyInputs(held_keys, false);
  const std::vector<INPUT> ups = KeyInputs(held_keys, true);
  inputs.insert(inputs.end(), ups.begin(), ups.end());
  Send(inputs);
}

void SendKeys(const std::vector<WORD>& keys, bool up) {
  Send(KeyInputs(keys, up));
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = static_cast<WORD>(c);
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  Send(inputs);
}

void Screenshot(const std::string& name) {
  wchar_t folder[1024];
  const DWORD n = GetEnvironmentVariableW(L"QUILLOMI_SCREENSHOTS", folder, 1024);
  if (n == 0 || n >= 1024) return;
  Sleep(300);  // let the last paint land
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  // A BMP here; the scripts turn it into PNG.
  const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(height);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  bytes.append(static_cast<const char*>(bits), stride * static_cast<DWORD>(height));
  WriteFileBytes(std::wstring(folder) + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp",
                 bytes);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace quillomi::e2e
