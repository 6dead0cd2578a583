// The phrase panel's caption. Portable, so that a unit test can hold it
// against the project's version.
#pragma once

#include <string_view>

#include "quillomi_version.h"

namespace quillomi::ui {

// clang-format off
inline constexpr std::u16string_view kForm1Caption =
    u"Quillomi\u3000ver." QUILLOMI_VERSION_CAPTION_U16
    u"\u3000\u3000※[一覧]以外のボタンは右クリックで編集可能";
// clang-format on

}  // namespace quillomi::ui
