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

void LoadList(platform::Files& files, std::u16string_view sListFile, PhraseListSink& lb1) {
  lb1.Clear();
  // One decoded buffer and views into it: a list of a million lines is split
  // without a string per line.
  const std::u16string text = DecodeUtf8File(ReadFileBytes(files, sListFile));
  const std::vector<std::u16string_view> lines = SplitLineViews(text);

  std::size_t units = 0;
  for (auto line : lines) units += line.size();
  lb1.Reserve(lines.size(), units);

  int group = 0;
  UpdateScope update(lb1);
  for (auto line : lines) {
    if (line.find(kHeadingMark) != std::u16string_view::npos) ++group;
    // Lines above the first heading share the first icon; after nine groups
    // the icons start over.
    if (group == 0 || group == kIconCount + 1) group = 1;
    lb1.Add(line, group);
  }
}

}  // namespace quillomi::phrases
