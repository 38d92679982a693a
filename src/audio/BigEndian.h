// Explicit-endian readers for the numbers stored in tags and VBR headers, at an index of
// a span. The parser checks first that the structure lies inside its span; a byte
// beyond the end would read as 0.
#pragma once

#include <cstdint>

#include "audio/ByteSpan.h"

namespace plenvox {

constexpr std::uint32_t BigEndian24(ByteSpan bytes, std::size_t at) {
  return (std::uint32_t{bytes.At(at)} << 16) | (std::uint32_t{bytes.At(at + 1)} << 8) |
         bytes.At(at + 2);
}

constexpr std::uint32_t BigEndian32(ByteSpan bytes, std::size_t at) {
  return (std::uint32_t{bytes.At(at)} << 24) | BigEndian24(bytes, at + 1);
}

// Four bytes of which only the low seven bits count, most significant first.
constexpr std::uint32_t SynchSafe32(ByteSpan bytes, std::size_t at) {
  return (std::uint32_t{bytes.At(at) & 0x7Fu} << 21) |
         (std::uint32_t{bytes.At(at + 1) & 0x7Fu} << 14) |
         (std::uint32_t{bytes.At(at + 2) & 0x7Fu} << 7) | (bytes.At(at + 3) & 0x7Fu);
}

}  // namespace plenvox
