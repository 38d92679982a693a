// The ten bytes that open an ID3v2 tag: the marker "ID3", the major version, the
// revision, the flags and the tag's size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "audio/ByteSpan.h"

namespace plenvox {

constexpr std::size_t kId3v2HeaderSize = 10;

struct Id3v2Header {
  std::array<std::uint8_t, 3> Marker{};
  std::uint8_t MajorVersion = 0;
  std::uint8_t Revision = 0;
  std::uint8_t Flags = 0;
  std::array<std::uint8_t, 4> SizeBytes{};

  bool HasMarker() const { return Marker[0] == 'I' && Marker[1] == 'D' && Marker[2] == '3'; }
  // Bytes from the file's start to the first byte after the tag: header and tag, plus
  // the footer when the flags announce one; 0 when that would reach beyond the file's
  // length. The size bytes are taken whole, their top bits unmasked.
  std::int32_t TagSize(std::int64_t fileLength) const;
};

// The header at the span's start; nothing when the span holds fewer than ten bytes.
std::optional<Id3v2Header> ParseId3v2Header(ByteSpan bytes);

}  // namespace plenvox
