// The settings documents that quillomi_save_loop.exe saves, one generation
// after the other: "Generation=g" and then entries whose values follow from g,
// so that every generation is a distinct file of several kilobytes.
#pragma once

#include <cstdint>
#include <string>

namespace quillomi::e2e::save_loop {

inline constexpr int kEntries = 300;

inline std::string Key(int entry) { return "Entry" + std::to_string(entry); }
inline std::int32_t Value(int generation, int entry) { return generation * 1000 + entry; }

}  // namespace quillomi::e2e::save_loop
