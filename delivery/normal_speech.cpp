#include "delivery/normal_speech.h"

#include "phrases/text_file.h"

namespace quillomi::delivery {

std::vector<std::u16string> ReadNormalSpeechList(platform::Files& files) {
  const std::u16string path = files.CurrentDirectory() + std::u16string(kNormalSpeechFileName);
  if (!files.IsRegularFile(path)) return {};
  return phrases::ReadUtf8Lines(files, path);
}

}  // namespace quillomi::delivery
