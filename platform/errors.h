// The program's failure model: a failure raised anywhere in a handler ends that
// handler and is shown once, in the standard error box, by the window
// procedure's single catch barrier.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace quillomi {

// A failing system call, with the system's own reason text (FormatMessageW,
// trailing blanks and full stops dropped).
class OsFailure : public std::exception {
 public:
  explicit OsFailure(std::u16string reason, std::uint32_t code = 0)
      : reason_(std::move(reason)), code_(code) {}
  const std::u16string& reason() const { return reason_; }
  std::uint32_t code() const { return code_; }
  const char* what() const noexcept override { return "system call failed"; }

 private:
  std::u16string reason_;
  std::uint32_t code_;
};

// The one error type that reaches the user: its text is final.
class UserError : public std::exception {
 public:
  explicit UserError(std::u16string text) : text_(std::move(text)) {}
  const std::u16string& text() const { return text_; }
  const char* what() const noexcept override { return "user-visible error"; }

 private:
  std::u16string text_;
};

namespace messages {

inline constexpr std::u16string_view kMappingError =
    u"Unicode 文字のマッピングがターゲットのマルチバイト コード ページに存在しません";

// "ファイル %s は開けません。 %s "
std::u16string CannotOpenFile(std::u16string_view path, std::u16string_view reason);
// "ファイル "%s" を作成できません。%s"
std::u16string CannotCreateFile(std::u16string_view path, std::u16string_view reason);
// "クリップボード %s を開けません"
std::u16string CannotOpenClipboard(std::u16string_view reason);
// "リストのインデックスが範囲を超えています (%d)"
std::u16string ListIndexOutOfBounds(long long index);

}  // namespace messages

// The text of the standard error box: "." is appended when the text's last
// character has a code above that of ".".
std::u16string StandardErrorText(std::u16string_view text);

// The text to show for whatever a handler let escape.
std::u16string DescribeCurrentException() noexcept;

}  // namespace quillomi
