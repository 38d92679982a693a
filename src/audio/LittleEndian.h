// Little-endian and wider big-endian readers at an index of a span, for the containers
// beyond MPEG (Ogg, RIFF, ASF little-endian; FLAC, MP4, AIFF big-endian). As with
// BigEndian.h, the parser checks first that the structure lies inside its span.
#pragma once

#include <cstdint>

#include "audio/BigEndian.h"
#include "audio/ByteSpan.h"

namespace plenvox {

constexpr std::uint16_t LittleEndian16(ByteSpan bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes.At(at) | (bytes.At(at + 1) << 8));
}

constexpr std::uint32_t LittleEndian32(ByteSpan bytes, std::size_t at) {
  return std::uint32_t{LittleEndian16(bytes, at)} | (std::uint32_t{LittleEndian16(bytes, at + 2)} << 16);
}

constexpr std::uint64_t LittleEndian64(ByteSpan bytes, std::size_t at) {
  return std::uint64_t{LittleEndian32(bytes, at)} | (std::uint64_t{LittleEndian32(bytes, at + 4)} << 32);
}

constexpr std::uint16_t BigEndian16(ByteSpan bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes.At(at) << 8) | bytes.At(at + 1));
}

constexpr std::uint64_t BigEndian64(ByteSpan bytes, std::size_t at) {
  return (std::uint64_t{BigEndian32(bytes, at)} << 32) | BigEndian32(bytes, at + 4);
}

}  // namespace plenvox
