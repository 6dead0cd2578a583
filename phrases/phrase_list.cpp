#include "phrases/phrase_list.h"

#include <utility>

#include "phrases/text_file.h"

namespace quillomi::phrases {

PhraseEntries ReadPhraseList(platform::Files& files, std::u16string_view sListFile) {
  // One buffer that the list takes over: a list of a million lines costs no
  // string per line.
  PackedLines lines = DecodeUtf8FileLines(ReadFileBytes(files, sListFile), kHeadingMark);

  // The heading flags become icon numbers where they stand.
  int group = 0;
  for (auto& icon : lines.flagged) {
    if (icon) ++group;
    // Lines above the first heading share the first icon; after nine groups
    // the icons start over.
    if (group == 0 || group == kIconCount + 1) group = 1;
    icon = static_cast<std::uint8_t>(group);
  }
  return {std::move(lines.text), std::move(lines.starts), std::move(lines.flagged)};
}

}  // namespace quillomi::phrases
