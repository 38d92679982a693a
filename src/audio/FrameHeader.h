// The four-byte MPEG audio frame header (ISO/IEC 11172-3 and 13818-3, with the MPEG 2.5
// extension) and its named bit fields, so that the header test and the decoder read
// every field from one place. Bytes count 0 to 3 in file order; bit 7 is the most
// significant bit of a byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "audio/ByteSpan.h"

namespace plenvox {

using FrameHeader = std::array<std::uint8_t, 4>;

// Codes of the header fields as they stand in the header.
constexpr std::uint16_t kSyncBits = 0x7FF;  // all eleven set
constexpr std::uint8_t kVersionMpeg25 = 0;
constexpr std::uint8_t kVersionReserved = 1;
constexpr std::uint8_t kVersionMpeg2 = 2;
constexpr std::uint8_t kVersionMpeg1 = 3;
constexpr std::uint8_t kLayerReserved = 0;
constexpr std::uint8_t kLayer3 = 1;
constexpr std::uint8_t kLayer2 = 2;
constexpr std::uint8_t kLayer1 = 3;
constexpr std::uint8_t kBitRateFree = 0;
constexpr std::uint8_t kBitRateBad = 15;
constexpr std::uint8_t kSampleRateReserved = 3;
constexpr std::uint8_t kModeMono = 3;
constexpr std::uint8_t kModeUnknown = 4;  // only in the cleared state
constexpr std::uint8_t kEmphasisReserved = 2;

class FrameHeaderBits {
 public:
  constexpr explicit FrameHeaderBits(const FrameHeader& bytes) : bytes_(bytes) {}

  // Byte 0 and bits 7-5 of byte 1.
  constexpr std::uint16_t Sync() const {
    return static_cast<std::uint16_t>((bytes_[0] << 3) | Bits(1, 5, 3));
  }
  constexpr std::uint8_t VersionCode() const { return Bits(1, 3, 2); }
  constexpr std::uint8_t LayerCode() const { return Bits(1, 1, 2); }
  // 0 when a checksum follows the header.
  constexpr std::uint8_t ProtectionBit() const { return Bits(1, 0, 1); }
  constexpr std::uint8_t BitRateIndex() const { return Bits(2, 4, 4); }
  constexpr std::uint8_t SampleRateIndex() const { return Bits(2, 2, 2); }
  constexpr std::uint8_t PaddingBit() const { return Bits(2, 1, 1); }
  constexpr std::uint8_t PrivateBit() const { return Bits(2, 0, 1); }
  constexpr std::uint8_t ModeCode() const { return Bits(3, 6, 2); }
  constexpr std::uint8_t ModeExtension() const { return Bits(3, 4, 2); }
  constexpr std::uint8_t CopyrightBit() const { return Bits(3, 3, 1); }
  constexpr std::uint8_t OriginalBit() const { return Bits(3, 2, 1); }
  constexpr std::uint8_t EmphasisCode() const { return Bits(3, 0, 2); }

 private:
  // width bits of a byte whose lowest lies shift bits above bit 0.
  constexpr std::uint8_t Bits(std::size_t byte, int shift, int width) const {
    return static_cast<std::uint8_t>((bytes_[byte] >> shift) & ((1 << width) - 1));
  }

  FrameHeader bytes_;
};

// The four bytes at index at; nothing when they do not all lie in the span.
inline std::optional<FrameHeader> FrameHeaderAt(ByteSpan bytes, std::size_t at) {
  if (!bytes.Has(at, 4)) return std::nullopt;
  return FrameHeader{bytes.At(at), bytes.At(at + 1), bytes.At(at + 2), bytes.At(at + 3)};
}

}  // namespace plenvox
