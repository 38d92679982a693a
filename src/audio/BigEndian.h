// Explicit-endian readers for the numbers stored in tags and VBR headers. The caller
// checks that the bytes lie inside its buffer.
#pragma once

#include <cstdint>

namespace plenvox {

constexpr std::uint32_t BigEndian24(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 16) | (std::uint32_t{bytes[1]} << 8) | bytes[2];
}

constexpr std::uint32_t BigEndian32(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

// Four bytes of which only the low seven bits count, most significant first.
constexpr std::uint32_t SynchSafe32(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0] & 0x7Fu} << 21) | (std::uint32_t{bytes[1] & 0x7Fu} << 14) |
         (std::uint32_t{bytes[2] & 0x7Fu} << 7) | (bytes[3] & 0x7Fu);
}

}  // namespace plenvox
