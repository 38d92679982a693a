// The trimming of tag texts: bytes 0x00 to 0x20 (zero bytes, blanks and every other
// control byte) count as filler, since tag writers pad their fields with either.
#pragma once

#include <string>
#include <string_view>

namespace plenvox {

constexpr bool IsTagFiller(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// Removes filler from the end only; filler between other bytes stays.
inline std::string TrimTagTrailing(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsTagFiller(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

// Removes filler from both ends.
inline std::string TrimTag(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsTagFiller(text[begin])) ++begin;
  return TrimTagTrailing(text.substr(begin));
}

}  // namespace plenvox
