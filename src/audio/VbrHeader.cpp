#include "audio/VbrHeader.h"

#include <algorithm>
#include <cstring>

#include "audio/BigEndian.h"
#include "audio/FrameHeader.h"

namespace plenvox {

namespace {

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

std::int32_t SignedAt(ByteSpan header, std::size_t index) {
  return static_cast<std::int32_t>(BigEndian32(header, index));
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

VBRData ReadVbrHeader(ByteSpan block, std::size_t index) {
  if (block.LettersAt(index, "Xing")) return ReadXingHeader(block, index);
  if (block.LettersAt(index, "VBRI")) return ReadVbriHeader(block, index);
  return {};
}

VBRData ReadXingHeader(ByteSpan block, std::size_t index) {
  if (!block.Has(index, kXingLength)) return {};
  const ByteSpan xing = block.Sub(index, kXingLength);
  VBRData header = EmptyHeader("Xing");
  header.FrameCount = SignedAt(xing, kXingFrameCountAt);
  header.ByteCount = SignedAt(xing, kXingByteCountAt);
  header.Quality = xing.At(kXingQualityAt);
  header.Vendor.assign(xing.Text(kXingVendorAt, kXingVendorLength));
  return header;
}

VBRData ReadVbriHeader(ByteSpan block, std::size_t index) {
  if (!block.Has(index, kVbriLength)) return {};
  const ByteSpan vbri = block.Sub(index, kVbriLength);
  VBRData header = EmptyHeader("VBRI");
  header.Quality = vbri.At(kVbriQualityAt);
  header.ByteCount = SignedAt(vbri, kVbriByteCountAt);
  header.FrameCount = SignedAt(vbri, kVbriFrameCountAt);
  return header;
}

std::string FindEncoderTag(ByteSpan block, std::uint16_t span) {
  if (block.size() < kEncoderTagLength) return {};
  const std::size_t first = block.size() - kEncoderTagLength;
  const std::size_t last = std::min<std::size_t>(span, first);
  for (std::size_t back = 0; back <= last; ++back) {
    const std::size_t at = first - back;
    if (block.LettersAt(at, "LAME")) return std::string(block.Text(at, kEncoderTagLength));
    if (block.LettersAt(at, "GOGO")) return "GOGO";
  }
  return {};
}

}  // namespace plenvox
