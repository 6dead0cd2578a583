#include "phrases/phrase_list.h"

#include <string>

#include "phrases/text_file.h"

namespace quillomi::phrases {

namespace {

// Resumes updates however the batch ends, an add that throws included.
class UpdateScope {
 public:
  explicit UpdateScope(PhraseListSink& sink) : sink_(sink) { sink_.BeginUpdate(); }
  ~UpdateScope() { sink_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  PhraseListSink& sink_;
};

}  // namespace

void PhraseListSink::Assign(PhraseEntries entries) {
  Reserve(entries.size(), entries.text.size());
  UpdateScope update(*this);
  for (std::size_t k = 0; k < entries.size(); ++k) Add(entries[k], entries.icons[k]);
}

void LoadList(platform::Files& files, std::u16string_view sListFile, PhraseListSink& lb1) {
  lb1.Clear();
  // Decoded straight into one buffer that the list takes over: a list of a
  // million lines costs no string per line and no copy.
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
  lb1.Assign({std::move(lines.text), std::move(lines.starts), std::move(lines.flagged)});
}

}  // namespace quillomi::phrases
