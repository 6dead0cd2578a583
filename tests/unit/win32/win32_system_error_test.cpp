#include "platform/win32/system_error.h"

#include <gtest/gtest.h>

#include "tests/unit/test_support.h"

namespace quillomi::win32 {
namespace {

using quillomi::test::Utf8;

TEST(Win32SystemError, ReasonIsTheSystemTextWithoutItsTrailingBreakAndStop) {
  const DWORD codes[] = {ERROR_FILE_NOT_FOUND,    ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED,
                         ERROR_SHARING_VIOLATION, ERROR_FILE_EXISTS,    ERROR_DISK_FULL};
  for (const DWORD code : codes) {
    const auto reason = SystemErrorText(code);
    ASSERT_FALSE(reason.empty()) << code;
    const char16_t last = reason.back();
    EXPECT_TRUE(last != u'.' && last != u' ' && last != u'\r' && last != u'\n' && last != u'\t')
        << code << ": " << Utf8(reason);
  }
}

TEST(Win32SystemError, ACodeWithoutTextGivesAnEmptyReason) {
  EXPECT_EQ(SystemErrorText(0x2000FFFF), u"");
}

}  // namespace
}  // namespace quillomi::win32
