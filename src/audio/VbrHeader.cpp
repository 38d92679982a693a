#include "audio/VbrHeader.h"

#include <algorithm>
#include <cstring>

#include "audio/BigEndian.h"

namespace plenvox {

namespace {

constexpr std::uint8_t kVersionMpeg1 = 3;
constexpr std::uint8_t kModeMono = 3;

// Byte layout of the two headers, from their first letter on.
constexpr std::size_t kXingFrameCountAt = 8;
constexpr std::size_t kXingByteCountAt = 12;
constexpr std::size_t kXingQualityAt = 119;
constexpr std::size_t kXingVendorAt = 120;
constexpr std::size_t kXingVendorLength = 8;
constexpr std::size_t kXingLength = kXingVendorAt + kXingVendorLength;
constexpr std::size_t kVbriQualityAt = 9;
constexpr std::size_t kVbriByteCountAt = 10;
constexpr std::size_t kVbriFrameCountAt = 14;
constexpr std::size_t kVbriLength = kVbriFrameCountAt + 4;

// The encoder tag window: "LAME" is followed by four more characters, so the search
// starts eight bytes before the block's end.
constexpr std::size_t kEncoderTagLength = 8;

bool Fits(std::size_t index, std::size_t length) {
  return index <= BlockSize && length <= BlockSize - index;
}

bool LettersAt(const Block& block, std::size_t index, const char (&letters)[5]) {
  return Fits(index, 4) && std::memcmp(block.data() + index, letters, 4) == 0;
}

std::int32_t SignedAt(const Block& block, std::size_t index) {
  return static_cast<std::int32_t>(BigEndian32(block.data() + index));
}

VBRData EmptyHeader(const char (&id)[5]) {
  VBRData header;
  header.Present = true;
  std::memcpy(header.HeaderId.data(), id, header.HeaderId.size());
  return header;
}

}  // namespace

std::uint8_t VbrHeaderOffset(std::uint8_t versionCode, std::uint8_t modeCode) {
  const bool mono = modeCode == kModeMono;
  if (versionCode == kVersionMpeg1) return mono ? 21 : 36;
  return mono ? 13 : 21;
}

VBRData ReadVbrHeader(const Block& block, std::uint16_t index) {
  if (LettersAt(block, index, "Xing")) return ReadXingHeader(block, index);
  if (LettersAt(block, index, "VBRI")) return ReadVbriHeader(block, index);
  return {};
}

VBRData ReadXingHeader(const Block& block, std::uint16_t index) {
  if (!Fits(index, kXingLength)) return {};
  VBRData header = EmptyHeader("Xing");
  header.FrameCount = SignedAt(block, index + kXingFrameCountAt);
  header.ByteCount = SignedAt(block, index + kXingByteCountAt);
  header.Quality = block[index + kXingQualityAt];
  const auto* vendor = reinterpret_cast<const char*>(block.data() + index + kXingVendorAt);
  header.Vendor.assign(vendor, kXingVendorLength);
  return header;
}

VBRData ReadVbriHeader(const Block& block, std::uint16_t index) {
  if (!Fits(index, kVbriLength)) return {};
  VBRData header = EmptyHeader("VBRI");
  header.Quality = block[index + kVbriQualityAt];
  header.ByteCount = SignedAt(block, index + kVbriByteCountAt);
  header.FrameCount = SignedAt(block, index + kVbriFrameCountAt);
  return header;
}

std::string FindEncoderTag(const Block& block, std::uint16_t span) {
  const std::size_t last = std::min<std::size_t>(span, BlockSize - kEncoderTagLength);
  for (std::size_t back = 0; back <= last; ++back) {
    const std::size_t at = BlockSize - kEncoderTagLength - back;
    if (LettersAt(block, at, "LAME")) {
      return std::string(reinterpret_cast<const char*>(block.data() + at), kEncoderTagLength);
    }
    if (LettersAt(block, at, "GOGO")) return "GOGO";
  }
  return {};
}

}  // namespace plenvox
