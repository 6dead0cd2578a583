#include <algorithm>

#include "platform/win32/win32_platform.h"

namespace quillomi::win32 {

static_assert(platform::kUnableToRemoveReplaced == ERROR_UNABLE_TO_REMOVE_REPLACED &&
              platform::kUnableToMoveReplacement == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
              platform::kUnableToMoveReplacement2 == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);

// Wine tells itself apart by an export of its own.
bool RunsOnWine() {
  static const bool wine =
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

bool Files::IsRegularFile(std::u16string_view path) {
  const DWORD attributes = ::GetFileAttributesW(Terminated(path).get());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Bytes Files::ReadAll(std::u16string_view path) {
  // Others may read alongside, but no one may write while it is read; a file
  // someone holds open for writing cannot be opened at all.
  const UniqueFile file(::CreateFileW(Terminated(path).get(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw LastErrorFailure();

  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) throw LastErrorFailure();
  Bytes bytes;
  if (static_cast<unsigned long long>(size.QuadPart) > bytes.max_size())
    throw Failure(ERROR_FILE_TOO_LARGE);
  bytes.resize(static_cast<std::size_t>(size.QuadPart));

  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto wanted = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, wanted, &got, nullptr))
      throw LastErrorFailure();
    if (got == 0) break;  // shorter than its size said: what is there is all there is
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

void Files::WriteAll(std::u16string_view path, const Bytes& bytes) {
  const UniqueFile file(::CreateFileW(Terminated(path).get(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw LastErrorFailure();

  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto wanted = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, wanted, &written, nullptr))
      throw LastErrorFailure();
    if (written == 0) throw Failure(ERROR_WRITE_FAULT);
    done += written;
  }
  // Before a replace puts it in place of the old file, it must be on the disk.
  if (!::FlushFileBuffers(file.get())) throw LastErrorFailure();
}

void Files::Replace(std::u16string_view from, std::u16string_view to, std::u16string_view backup) {
  const auto target = Terminated(to);
  // A rename on Windows refuses a read-only target with ERROR_ACCESS_DENIED;
  // Wine's, run as root, does not. The same refusal comes first everywhere,
  // and with it the message a read-only file always gave.
  const DWORD attributes = ::GetFileAttributesW(target.get());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    throw Failure(ERROR_ACCESS_DENIED);
  // Wine's ReplaceFileW keeps nothing of the old file, and it moves the old
  // file away and deletes it before the new one takes its name: a kill in
  // between leaves no file at all. There the rename, in one step, does as much.
  if (RunsOnWine()) return Rename(from, to);
  // The new file takes over the old one's attributes, security descriptor and
  // streams; a part of that which cannot be merged does not stop the save.
  if (!::ReplaceFileW(target.get(), Terminated(from).get(), Terminated(backup).get(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    throw LastErrorFailure();
}

void Files::Rename(std::u16string_view from, std::u16string_view to) {
  if (!::MoveFileExW(Terminated(from).get(), Terminated(to).get(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw LastErrorFailure();
}

bool Files::Remove(std::u16string_view path) noexcept {
  try {
    const auto name = Terminated(path);
    const DWORD attributes = ::GetFileAttributesW(name.get());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      const DWORD error = ::GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    const bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (read_only) {
      // No attribute left is said with FILE_ATTRIBUTE_NORMAL, never with 0.
      const DWORD writable = attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
      ::SetFileAttributesW(name.get(), writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
    }
    if (!::DeleteFileW(name.get())) {
      if (read_only) ::SetFileAttributesW(name.get(), attributes);
      return false;
    }
    // A file that another handle shares for deletion lingers until that closes.
    return ::GetFileAttributesW(name.get()) == INVALID_FILE_ATTRIBUTES;
  } catch (...) {
    // Only the copy of the path can fail; nothing was touched.
    return false;
  }
}

void Files::Copy(std::u16string_view from, std::u16string_view to) {
  if (!::CopyFileW(Terminated(from).get(), Terminated(to).get(), TRUE)) throw LastErrorFailure();
}

std::u16string Files::ExecutablePath() {
  // The call gives no size up front; a buffer that came back full may have cut
  // the path short, so it grows until the path fits (long paths reach 32767).
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, W(path.data()), static_cast<DWORD>(path.size()));
    if (length == 0) throw LastErrorFailure();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() > 0x10000) throw Failure(ERROR_INSUFFICIENT_BUFFER);
    path.resize(path.size() * 2);
  }
}

std::u16string Files::CurrentDirectory() {
  std::u16string directory;
  for (;;) {
    // With too small a buffer the call returns the size it needs, terminator
    // included; another thread may change the directory in between.
    const DWORD needed =
        ::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), W(directory.data()));
    if (needed == 0) throw LastErrorFailure();
    if (needed < directory.size()) {
      directory.resize(needed);
      break;
    }
    directory.resize(needed);
  }
  if (directory.back() != u'\\') directory += u'\\';
  return directory;
}

}  // namespace quillomi::win32
