// The phrase list the benchmarks load and filter, the same natively and
// under Wine.
#pragma once

#include <cstddef>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace quillomi::bench {

// Lines of about 40 bytes as a player writes them: a label, then words,
// and a heading line now and then; CR LF as Notepad saves.
inline std::string MakePhraseList(std::size_t lines) {
  const std::string_view labels[] = {"挨拶", "お礼", "PT",   "狩り", "取引",
                                     "生産", "GvG",  "Bank", "移動", "RP"};
  const std::string_view words[] = {"こんにちは",
                                    "ありがとう",
                                    "よろしくお願いします",
                                    "ヒール",
                                    "回復",
                                    "ガード",
                                    "リコール",
                                    "ゲート",
                                    "募集中",
                                    "ドラゴン",
                                    "銀行",
                                    "お疲れさま",
                                    "heal",
                                    "bank",
                                    "guards",
                                    "vendor buy",
                                    "all follow me",
                                    "Britain",
                                    "Trinsic",
                                    "kal ort por",
                                    "vas corp por",
                                    "ＧＭ",
                                    "！",
                                    "、"};
  std::mt19937 random(20261209);
  const auto pick = [&](std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  };
  std::string text;
  text.reserve(lines * 42);
  for (std::size_t i = 0; i < lines; ++i) {
    if (i % 40 == 0) {
      text += "◆";
      text += labels[pick(std::size(labels))];
      text += "の発言\r\n";
      continue;
    }
    const std::size_t start = text.size();
    const std::size_t length = 12 + pick(41);
    text += '[';
    text += labels[pick(std::size(labels))];
    text += ']';
    while (text.size() - start < length) {
      text += words[pick(std::size(words))];
      text += ' ';
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace quillomi::bench
