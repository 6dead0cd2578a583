#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <cstdio>

#include "platform/errors.h"
#include "platform/utf.h"

namespace quillomi::fake {

namespace {

bool SameClass(std::u16string_view a, std::u16string_view b) {
  // Window class names compare without regard to ASCII letter case, as on Windows.
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

std::u16string Str(std::u16string_view s) { return std::u16string(s); }

}  // namespace

std::string Hex(std::uintptr_t value) {
  if (value == 0) return "none";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
  return buffer;
}

std::string Quote(std::u16string_view text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\x%02x", static_cast<unsigned>(c));
          out += buffer;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

FakePlatform::FakePlatform()
    : bundle_{*this, *this, *this, *this, *this, *this, *this, *this, *this} {}

WindowHandle FakePlatform::AddWindow(FakeWindow window) {
  if (window.handle == 0) window.handle = next_handle_;
  next_handle_ = std::max(next_handle_, window.handle + 1);
  windows_.push_back(std::move(window));
  return windows_.back().handle;
}

void FakePlatform::RemoveWindow(WindowHandle handle) {
  std::erase_if(windows_, [&](const FakeWindow& w) { return w.handle == handle; });
}

const FakeWindow* FakePlatform::Find(WindowHandle handle) const {
  for (const auto& w : windows_)
    if (w.handle == handle) return &w;
  return nullptr;
}

void FakePlatform::PutFile(const std::u16string& path, std::string_view bytes) {
  files[path] = Bytes(bytes.begin(), bytes.end());
}

std::string FakePlatform::FileText(const std::u16string& path) const {
  auto it = files.find(path);
  if (it == files.end()) return {};
  return std::string(it->second.begin(), it->second.end());
}

std::vector<std::string> FakePlatform::LogWith(std::initializer_list<std::string_view> prefixes) const {
  std::vector<std::string> lines;
  for (const auto& line : log_)
    for (auto prefix : prefixes)
      if (line.starts_with(prefix)) {
        lines.push_back(line);
        break;
      }
  return lines;
}

// --- Windows ----------------------------------------------------------------

WindowHandle FakePlatform::FindTopWindow(std::u16string_view class_name) {
  WindowHandle found = 0;
  for (const auto& w : windows_)
    if (w.parent == 0 && SameClass(w.class_name, class_name)) {
      found = w.handle;
      break;
    }
  Record("find " + Quote(class_name) + " -> " + Hex(found));
  return found;
}

WindowHandle FakePlatform::FindChildWindow(WindowHandle parent, std::u16string_view class_name) {
  WindowHandle found = 0;
  if (parent != 0)
    for (const auto& w : windows_)
      if (w.parent == parent && SameClass(w.class_name, class_name)) {
        found = w.handle;
        break;
      }
  Record("findchild " + Hex(parent) + " " + Quote(class_name) + " -> " + Hex(found));
  return found;
}

void FakePlatform::BringToTop(WindowHandle window) { Record("raise " + Hex(window)); }
void FakePlatform::SetForeground(WindowHandle window) { Record("foreground " + Hex(window)); }
void FakePlatform::PostSetFocus(WindowHandle window) { Record("post WM_SETFOCUS " + Hex(window)); }
void FakePlatform::SendRestore(WindowHandle window) { Record("restore " + Hex(window)); }

void FakePlatform::KeyEvent(std::uint8_t vk, std::uint8_t scan, bool key_up) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "key 0x%02x scan 0x%02x %s", vk, scan, key_up ? "up" : "down");
  Record(buffer);
}

std::uint32_t FakePlatform::MapVirtualKeyToScan(std::uint32_t vk) {
  auto it = scan_codes.find(vk);
  return it == scan_codes.end() ? 0 : it->second;
}

bool FakePlatform::IsKeyDown(std::uint8_t vk) { return held_keys.contains(vk); }

void FakePlatform::EnumTopWindows(const std::function<void(WindowHandle)>& visit) {
  Record("enum");
  // A copy, so that a test hook may change the windows while they are visited.
  const auto snapshot = windows_;
  for (const auto& w : snapshot)
    if (w.parent == 0) visit(w.handle);
}

WindowHandle FakePlatform::Owner(WindowHandle window) {
  if (owner_faults.contains(window)) throw OsFailure(u"ウィンドウ ハンドルが無効です。", 1400);
  const auto* w = Find(window);
  return w ? w->owner : 0;
}

bool FakePlatform::IsVisible(WindowHandle window) {
  const auto* w = Find(window);
  return w && w->visible;
}

int FakePlatform::GetText(WindowHandle window, char16_t* buffer, int capacity) {
  Record("title " + Hex(window));
  const auto* w = Find(window);
  if (!w || capacity <= 0) return 0;
  const auto count = std::min<std::size_t>(w->title.size(), static_cast<std::size_t>(capacity - 1));
  std::copy_n(w->title.data(), count, buffer);
  buffer[count] = u'\0';
  return static_cast<int>(count);
}

void FakePlatform::SetText(WindowHandle window, std::u16string_view text) {
  Record("settext " + Hex(window) + " " + Quote(text));
  for (auto& w : windows_)
    if (w.handle == window) w.title = Str(text);
}

std::u16string FakePlatform::ClassName(WindowHandle window) {
  const auto* w = Find(window);
  const auto name = w ? w->class_name : std::u16string();
  Record("class " + Hex(window) + " -> " + Quote(name));
  return name;
}

std::u16string FakePlatform::TextOf(WindowHandle window) const {
  const auto* w = Find(window);
  return w ? w->title : std::u16string();
}

// --- Clipboard --------------------------------------------------------------

void FakePlatform::SetUnicodeText(std::u16string_view text) {
  if (clipboard_busy) {
    Record("clipboard busy");
    throw OsFailure(*clipboard_busy, 5);
  }
  Record("clipboard " + Quote(text));
  clipboard_text = Str(text);
}

// --- Files ------------------------------------------------------------------

bool FakePlatform::IsRegularFile(std::u16string_view path) { return files.contains(Str(path)); }

Bytes FakePlatform::ReadAll(std::u16string_view path) {
  Record("read " + Quote(path));
  const auto key = Str(path);
  if (auto fault = read_faults.find(key); fault != read_faults.end()) throw OsFailure(fault->second, 32);
  if (directories.contains(key)) throw OsFailure(u"アクセスが拒否されました。", 5);
  auto it = files.find(key);
  if (it == files.end()) throw OsFailure(u"指定されたファイルが見つかりません。", 2);
  return it->second;
}

namespace {

const std::u16string kAccessDenied = u"アクセスが拒否されました。";
const std::u16string kSharingViolation =
    u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。";

}  // namespace

void FakePlatform::WriteAll(std::u16string_view path, const Bytes& bytes) {
  Record("write " + Quote(path) + " " + std::to_string(bytes.size()) + " bytes");
  const auto key = Str(path);
  if (directories.contains(key) || read_only.contains(key)) throw OsFailure(kAccessDenied, 5);
  if (held_open.contains(key)) throw OsFailure(kSharingViolation, 32);
  if (auto fault = write_faults.find(key); fault != write_faults.end()) {
    const auto n = std::min(fault->second.after_bytes, bytes.size());
    files[key] = Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    throw OsFailure(fault->second.reason, 112);
  }
  files[key] = bytes;
}

// Replace and Rename alike: the file moves to its new name in one step.
void FakePlatform::MoveOver(const std::u16string& source, const std::u16string& target,
                            bool target_must_exist) {
  if (auto fault = replace_faults.find(target); fault != replace_faults.end())
    throw OsFailure(fault->second, 5);
  if (directories.contains(target) || read_only.contains(target)) throw OsFailure(kAccessDenied, 5);
  auto it = files.find(source);
  if (it == files.end() || (target_must_exist && !files.contains(target)))
    throw OsFailure(u"指定されたファイルが見つかりません。", 2);
  files[target] = std::move(it->second);
  files.erase(source);
}

void FakePlatform::Replace(std::u16string_view from, std::u16string_view to,
                           std::u16string_view backup) {
  Record("replace " + Quote(from) + " -> " + Quote(to) + " backup " + Quote(backup));
  const auto target = Str(to);
  if (auto stop = replace_stops.find(target); stop != replace_stops.end()) {
    if (stop->second == platform::kUnableToMoveReplacement2) MoveOver(target, Str(backup), false);
    throw OsFailure(u"置き換えを完了できません", stop->second);
  }
  auto old = files.find(target);
  Bytes kept = old == files.end() ? Bytes{} : old->second;
  MoveOver(Str(from), target, true);
  files[Str(backup)] = std::move(kept);
}

void FakePlatform::Rename(std::u16string_view from, std::u16string_view to) {
  Record("rename " + Quote(from) + " -> " + Quote(to));
  MoveOver(Str(from), Str(to), false);
}

bool FakePlatform::Remove(std::u16string_view path) noexcept {
  try {
    Record("remove " + Quote(path));
    const auto key = Str(path);
    if (directories.contains(key) || held_open.contains(key)) return false;
    read_only.erase(key);
    files.erase(key);
    return true;
  } catch (...) {
    return false;
  }
}

void FakePlatform::Copy(std::u16string_view from, std::u16string_view to) {
  Record("copy " + Quote(from) + " -> " + Quote(to));
  const auto source = Str(from), target = Str(to);
  if (auto fault = copy_faults.find(target); fault != copy_faults.end()) throw OsFailure(fault->second, 5);
  auto it = files.find(source);
  if (it == files.end()) throw OsFailure(u"指定されたファイルが見つかりません。", 2);
  if (files.contains(target) || directories.contains(target))
    throw OsFailure(u"ファイルが既に存在するため、作成できません。", 80);
  files[target] = it->second;
}

std::u16string FakePlatform::ExecutablePath() { return executable_path; }
std::u16string FakePlatform::CurrentDirectory() { return current_directory; }

// --- Text -------------------------------------------------------------------

std::u16string FakePlatform::DecodeAnsi(const std::uint8_t* data, std::size_t size) {
  if (!lead_byte_takes_next) return DecodeCp932(data, size);
  std::u16string text;
  for (std::size_t i = 0; i < size;) {
    const bool lead =
        ((data[i] >= 0x81 && data[i] <= 0x9F) || (data[i] >= 0xE0 && data[i] <= 0xFC)) &&
        i + 1 < size;
    const std::size_t length = lead ? 2 : 1;
    const std::u16string character = DecodeCp932(data + i, length);
    text += lead && character.size() != 1 ? std::u16string(u"\u30FB") : character;
    i += length;
  }
  return text;
}
Bytes FakePlatform::EncodeAnsi(std::u16string_view text) { return EncodeCp932(text); }
void FakePlatform::UpperCaseInPlace(std::u16string& text) { UpperCaseForTests(text); }

// --- Screen -----------------------------------------------------------------

platform::Rect FakePlatform::WorkArea() { return work_area; }
std::vector<platform::Rect> FakePlatform::MonitorWorkAreas() {
  return monitor_work_areas.value_or(std::vector<platform::Rect>{work_area});
}
int FakePlatform::FrameHeight() { return frame_height; }
int FakePlatform::CaptionHeight() { return caption_height; }
int FakePlatform::DpiX() { return dpi_x; }
bool FakePlatform::IsFontInstalled(std::u16string_view face) {
  const bool installed = installed_fonts.count(std::u16string(face)) != 0;
  Record("font " + Quote(face) + (installed ? " -> installed" : " -> missing"));
  return installed;
}

// --- Dialogs, Shell, Clock --------------------------------------------------

void FakePlatform::ShowMessage(std::u16string_view text) {
  Record("message " + Quote(text));
  if (on_message) on_message(text);
}

void FakePlatform::ShowError(std::u16string_view text) { Record("error " + Quote(text)); }

void FakePlatform::OpenNotepad(WindowHandle owner, std::u16string_view parameters,
                               std::u16string_view directory) {
  Record("notepad " + Hex(owner) + " " + Quote(parameters) + " " + Quote(directory));
}

void FakePlatform::Sleep(std::uint32_t milliseconds) {
  Record("sleep " + std::to_string(milliseconds));
  slept_ms += milliseconds;
}

void FakePlatform::SleepAnsweringSent(std::uint32_t milliseconds) {
  Record("sleep " + std::to_string(milliseconds) + " answering");
  slept_ms += milliseconds;
}

platform::InstanceMutex FakePlatform::CreateInstanceMutex(std::u16string_view name) {
  Record("mutex " + Quote(name) + (instance_mutex.created ? instance_mutex.already_exists ? " -> exists" : " -> new" : " -> failed"));
  return instance_mutex;
}

}  // namespace quillomi::fake
