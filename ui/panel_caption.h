// The panel's caption.
#pragma once

#include <string_view>

namespace quillomi::ui {

inline constexpr std::u16string_view kForm1Caption =
    u"Quillomi\u3000ver.1.32\u3000\u3000※[一覧]以外のボタンは右クリックで編集可能";

}  // namespace quillomi::ui
