// Reading real files through the seam on a POSIX file system: natively there
// is no Win32Platform, and the benchmarks must time real reads.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillomi::bench {

class PosixFiles final : public platform::Files {
 public:
  bool IsRegularFile(std::u16string_view path) override;
  platform::Bytes ReadAll(std::u16string_view path) override;
  // The benchmarks only read: the rest fails, and Remove does nothing.
  void WriteAll(std::u16string_view path, const platform::Bytes& bytes) override;
  void Replace(std::u16string_view from, std::u16string_view to,
               std::u16string_view backup) override;
  void Rename(std::u16string_view from, std::u16string_view to) override;
  bool Remove(std::u16string_view path) noexcept override;
  void Copy(std::u16string_view from, std::u16string_view to) override;
  std::u16string ExecutablePath() override;
  std::u16string CurrentDirectory() override;
};

}  // namespace quillomi::bench
