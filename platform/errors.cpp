#include "platform/errors.h"

#include <string>

#include "platform/utf.h"

namespace quillomi {
namespace messages {

std::u16string CannotOpenFile(std::u16string_view path, std::u16string_view reason) {
  return u"ファイル " + std::u16string(path) + u" は開けません。 " + std::u16string(reason) + u" ";
}

std::u16string CannotCreateFile(std::u16string_view path, std::u16string_view reason) {
  return u"ファイル \"" + std::u16string(path) + u"\" を作成できません。" + std::u16string(reason);
}

std::u16string CannotOpenClipboard(std::u16string_view reason) {
  return u"クリップボード " + std::u16string(reason) + u" を開けません";
}

std::u16string ListIndexOutOfBounds(long long index) {
  return u"リストのインデックスが範囲を超えています (" + Decimal(index) + u")";
}

}  // namespace messages

std::u16string StandardErrorText(std::u16string_view text) {
  std::u16string shown(text);
  if (!shown.empty() && shown.back() > u'.') shown += u'.';
  return shown;
}

std::u16string DescribeCurrentException() noexcept {
  try {
    throw;
  } catch (const UserError& e) {
    return e.text();
  } catch (const OsFailure& e) {
    return e.reason();
  } catch (const std::bad_alloc&) {
    return u"メモリが不足しています";
  } catch (const std::exception& e) {
    std::u16string text;
    for (const char* p = e.what(); *p != '\0'; ++p) text += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return text;
  } catch (...) {
    return u"不明なエラー";
  }
}

}  // namespace quillomi
