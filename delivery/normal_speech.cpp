#include "delivery/normal_speech.h"

#include "phrases/text_file.h"

namespace quillomi::delivery {

std::u16string NormalSpeechListPath(platform::Files& files) {
  return files.CurrentDirectory() + std::u16string(kNormalSpeechFileName);
}

std::vector<std::u16string> ReadNormalSpeechList(platform::Files& files) {
  const std::u16string path = NormalSpeechListPath(files);
  if (!files.IsRegularFile(path)) return {};
  return phrases::ReadUtf8Lines(files, path);
}

}  // namespace quillomi::delivery
