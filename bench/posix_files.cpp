#include "bench/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/errors.h"
#include "platform/utf.h"

namespace quillomi::bench {

namespace {

OsFailure LastError() {
  const int code = errno;
  // In the benchmarks' C locale the reason is ASCII.
  const std::string_view reason = std::strerror(code);
  return OsFailure(std::u16string(reason.begin(), reason.end()), static_cast<std::uint32_t>(code));
}

OsFailure NotAvailable() {
  return OsFailure(u"not available in the benchmarks");
}

// Closes the descriptor however the operation ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

bool PosixFiles::IsRegularFile(std::u16string_view path) {
  struct stat status {};
  return ::stat(ToUtf8(path).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

platform::Bytes PosixFiles::ReadAll(std::u16string_view path) {
  const Descriptor file(::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) throw LastError();
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) throw LastError();
  platform::Bytes bytes(static_cast<std::size_t>(status.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw LastError();
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

void PosixFiles::WriteAll(std::u16string_view, const platform::Bytes&) {
  throw NotAvailable();
}

void PosixFiles::Replace(std::u16string_view, std::u16string_view, std::u16string_view) {
  throw NotAvailable();
}

void PosixFiles::Rename(std::u16string_view, std::u16string_view) {
  throw NotAvailable();
}

bool PosixFiles::Remove(std::u16string_view) noexcept {
  return false;
}

void PosixFiles::Copy(std::u16string_view, std::u16string_view) {
  throw NotAvailable();
}

std::u16string PosixFiles::ExecutablePath() {
  throw NotAvailable();
}

std::u16string PosixFiles::CurrentDirectory() {
  throw NotAvailable();
}

}  // namespace quillomi::bench
