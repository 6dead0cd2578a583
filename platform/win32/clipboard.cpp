#include <algorithm>

#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

namespace {

// Holds the clipboard open for one change; the system allows one opener at a time.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    if (!::OpenClipboard(owner)) throw LastErrorFailure();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() { ::CloseClipboard(); }
};

}  // namespace

void Clipboard::SetUnicodeText(std::u16string_view text) {
  const ClipboardSession session(Hwnd(owner));
  if (!::EmptyClipboard()) throw LastErrorFailure();

  const std::size_t units = text.size() + 1;  // with its terminating U+0000
  UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, units * sizeof(char16_t)));
  if (!memory) throw LastErrorFailure();
  auto* target = static_cast<char16_t*>(::GlobalLock(memory.get()));
  if (target == nullptr) throw LastErrorFailure();
  std::copy(text.begin(), text.end(), target);
  target[text.size()] = u'\0';
  ::GlobalUnlock(memory.get());

  if (::SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) throw LastErrorFailure();
  // The clipboard owns the memory now.
  memory.release();
}

}  // namespace quillomi::win32
