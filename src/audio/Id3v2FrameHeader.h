// The header in front of every frame of an ID3v2 tag: versions 3 and 4 have a four-letter
// ID, a four-byte size and two flag bytes; version 2 a three-letter ID and a three-byte
// size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "audio/ByteSpan.h"

namespace plenvox {

struct Id3v2FrameHeader {
  std::array<char, 4> Id{};
  std::size_t IdLength = 0;
  // Bytes of the header itself; the frame's data follows them.
  std::size_t HeaderSize = 0;
  // The data's size as declared, which may reach beyond the tag and the file.
  std::uint32_t DataSize = 0;
  // Versions 3 and 4: bit 0x80 of the second flag byte is set, so the frame is not used.
  bool Unusable = false;

  std::string_view IdText() const { return {Id.data(), IdLength}; }
};

// The size of a frame header in a tag of the major version.
constexpr std::size_t Id3v2FrameHeaderSize(std::uint8_t majorVersion) {
  return majorVersion > 2 ? 10 : 6;
}

// The frame header at the span's start in a tag of the major version: the three-letter
// layout up to version 2, the four-letter one above, with synch-safe sizes in version 4.
// Nothing where the frames end: the span is shorter than a header, the ID does not
// begin with a capital letter (padding, or anything else), or a four-byte size of 2^31
// or more, which no frame has.
std::optional<Id3v2FrameHeader> ParseId3v2FrameHeader(ByteSpan bytes, std::uint8_t majorVersion);

}  // namespace plenvox
