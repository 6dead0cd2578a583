#include "tests/e2e/e2e_support.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace quillomi::e2e {

std::wstring BinDir() {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  std::wstring path(buffer, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
  return out;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    Sleep(15);
  }
  return condition();
}

namespace {

std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') out.append(backslashes * 2 + 1, L'\\');
    else out.append(backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

}  // namespace

Process::Process(const std::wstring& exe, const std::vector<std::wstring>& args,
                 const std::wstring& cwd) {
  std::wstring command = QuoteArgument(exe);
  for (const auto& arg : args) command += L" " + QuoteArgument(arg);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &startup, &info_))
    info_ = {};
}

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    info_ = other.info_;
    other.info_ = {};
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
  for (;;) {
    path_ = std::wstring(base) + L"quillomi-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

namespace {

// Removes what the run left; a file still held open stays behind.
void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(dir + name + L"\\");
      } else {
        SetFileAttributesW((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((dir + name).c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(dir.c_str());
}

}  // namespace

TempDir::~TempDir() { RemoveTree(path_); }

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::vector<LogLine> ReadLog(const std::wstring& path) {
  std::vector<LogLine> lines;
  std::istringstream in(ReadFileBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    const auto space = line.find(' ');
    if (space == std::string::npos) continue;
    lines.push_back({std::stoll(line.substr(0, space)), line.substr(space + 1)});
  }
  return lines;
}

std::vector<std::string> Events(const std::wstring& path, const std::string& prefix) {
  std::vector<std::string> events;
  for (const auto& line : ReadLog(path))
    if (line.event.starts_with(prefix)) events.push_back(line.event);
  return events;
}

namespace {

struct BoxSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[64];
  if (pid == search->process_id && GetClassNameW(window, name, 64) && std::wstring(name) == L"#32770" &&
      IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindStatic(HWND child, LPARAM param) {
  wchar_t name[64];
  if (GetClassNameW(child, name, 64) && _wcsicmp(name, L"Static") == 0 &&
      GetWindowTextLengthW(child) > 0) {
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindMessageBox(DWORD process_id) {
  BoxSearch search{process_id, nullptr};
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForMessageBox(DWORD process_id, std::chrono::milliseconds deadline) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindMessageBox(process_id)) != nullptr; }, deadline);
  return box;
}

std::wstring WindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

std::wstring MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  if (!text) EnumChildWindows(box, FindStatic, reinterpret_cast<LPARAM>(&text));
  return text ? WindowText(text) : std::wstring();
}

void PressOk(HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

ClipboardHolder::ClipboardHolder()
    : release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this] {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
    holding_ = OpenClipboard(owner) != FALSE;
    SetEvent(ready_);
    WaitForSingleObject(release_, INFINITE);
    if (holding_) CloseClipboard();
    DestroyWindow(owner);
  });
  WaitForSingleObject(ready_, 10000);
}

ClipboardHolder::~ClipboardHolder() {
  SetEvent(release_);
  thread_.join();
  CloseHandle(release_);
  CloseHandle(ready_);
}

std::wstring ClipboardText() {
  std::wstring text;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr)) {
      if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
          text = chars;
          GlobalUnlock(data);
        }
      CloseClipboard();
      break;
    }
    Sleep(10);
  }
  return text;
}

void SetClipboardText(const std::wstring& text) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
      if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
      }
      CloseClipboard();
      return;
    }
    Sleep(10);
  }
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double CounterToMs(long long ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace quillomi::e2e

namespace quillomi::e2e {

namespace {

void CopyInto(const std::wstring& from, const std::wstring& to) { CopyFileW(from.c_str(), to.c_str(), FALSE); }

struct WindowSearch {
  DWORD process_id;
  const wchar_t* class_name;
  bool visible_only;
  HWND found;
};

BOOL CALLBACK FindOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[128];
  if (pid == search->process_id && GetClassNameW(window, name, 128) &&
      _wcsicmp(name, search->class_name) == 0 && (!search->visible_only || IsWindowVisible(window))) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct TextSearch {
  std::wstring text;
  HWND found;
};

BOOL CALLBACK FindText(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<TextSearch*>(param);
  if (WindowText(child) == search->text) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
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
  CopyInto(BinDir() + L"Quillomi.exe", program.Exe());
  if (templates)
    for (const wchar_t* name : {L"Quillomi_Btn.dll", L"Quillomi_Lst.dll"})
      CopyInto(BinDir() + name, program.File(name));
}

Process StartQuillomi(const ProgramDir& program, const std::vector<std::wstring>& args) {
  return Process(program.Exe(), args, program.Path());
}

HWND FindProcessWindow(DWORD process_id, const wchar_t* class_name, bool visible_only) {
  WindowSearch search{process_id, class_name, visible_only, nullptr};
  EnumWindows(FindOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForProcessWindow(DWORD process_id, const wchar_t* class_name,
                          std::chrono::milliseconds deadline) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindProcessWindow(process_id, class_name)) != nullptr; }, deadline);
  return window;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
  TextSearch search{text, nullptr};
  EnumChildWindows(parent, FindText, reinterpret_cast<LPARAM>(&search));
  return search.found;
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
  // Re-warp until the pointer has stayed put for a while.
  for (int attempt = 0; attempt < 40; ++attempt) {
    SetCursorPos(x, y);
    Sleep(150);
    POINT at{};
    GetCursorPos(&at);
    if (at.x == x && at.y == y) break;
  }
}

void Click(int x, int y, Mouse button, const std::vector<WORD>& held_keys) {
  MoveMouse(x, y);
  const DWORD down = button == Mouse::kLeft    ? MOUSEEVENTF_LEFTDOWN
                     : button == Mouse::kRight ? MOUSEEVENTF_RIGHTDOWN
                                               : MOUSEEVENTF_MIDDLEDOWN;
  const DWORD up = button == Mouse::kLeft    ? MOUSEEVENTF_LEFTUP
                   : button == Mouse::kRight ? MOUSEEVENTF_RIGHTUP
                                             : MOUSEEVENTF_MIDDLEUP;
  std::vector<INPUT> keys_down, keys_up;
  for (WORD key : held_keys) keys_down.push_back(KeyInput(key, false));
  for (auto key = held_keys.rbegin(); key != held_keys.rend(); ++key)
    keys_up.push_back(KeyInput(*key, true));
  if (!keys_down.empty()) Send(keys_down);
  Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y), MouseInput(down),
        MouseInput(up)});
  // A program asks for the keys' state while it handles the press: they stay
  // held until it has had the time to.
  if (!keys_up.empty()) {
    Sleep(500);
    Send(keys_up);
  }
}

void DoubleClick(int x, int y) {
  MoveMouse(x, y);
  Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y), MouseInput(MOUSEEVENTF_LEFTDOWN),
        MouseInput(MOUSEEVENTF_LEFTUP), MouseInput(MOUSEEVENTF_LEFTDOWN),
        MouseInput(MOUSEEVENTF_LEFTUP)});
}

void ClickCenter(HWND window, Mouse button, const std::vector<WORD>& held_keys) {
  const RECT rect = ScreenRectOf(window);
  Click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, button, held_keys);
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

void PressKey(WORD vk, const std::vector<WORD>& held_keys) {
  std::vector<INPUT> inputs;
  for (WORD key : held_keys) inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(vk, false));
  inputs.push_back(KeyInput(vk, true));
  for (auto key = held_keys.rbegin(); key != held_keys.rend(); ++key)
    inputs.push_back(KeyInput(*key, true));
  Send(inputs);
}

HoldKeys::HoldKeys(std::vector<WORD> keys) : keys_(std::move(keys)) {
  std::vector<INPUT> inputs;
  for (WORD key : keys_) inputs.push_back(KeyInput(key, false));
  if (!inputs.empty()) Send(inputs);
  Sleep(100);
}

HoldKeys::~HoldKeys() {
  std::vector<INPUT> inputs;
  for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) inputs.push_back(KeyInput(*key, true));
  if (!inputs.empty()) Send(inputs);
  Sleep(100);
}

void CloseNotepads() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    HWND notepad = FindWindowW(L"Notepad", nullptr);
    if (!notepad) return;
    PostMessageW(notepad, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(notepad); }, 3s);
  }
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
  WriteFileBytes(std::wstring(folder) + L"\\" + Wide(name) + L".bmp", bytes);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace quillomi::e2e
