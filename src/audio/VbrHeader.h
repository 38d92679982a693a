// What encoders leave inside and behind the first MPEG audio frame: the variable-bit-
// rate header in the first frame ("Xing" or "VBRI"), whose frame count gives the play
// time of a VBR file, and the encoder tag ("LAME" plus four characters, or "GOGO") near
// the end of the audio data.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/ByteSpan.h"

namespace plenvox {

struct VBRData {
  bool Present = false;
  std::array<char, 4> HeaderId{};  // "Xing" or "VBRI"; zero bytes when none was read
  std::int32_t FrameCount = 0;
  std::int32_t ByteCount = 0;
  std::uint8_t Quality = 0;
  std::string Vendor;  // Xing only: the 8 characters behind its fields, zero bytes included
};

// Names for callers that name an encoder; nothing here picks an entry.
inline constexpr std::array<std::string_view, 8> EncoderNames = {
    "Unknown", "Xing", "FhG", "LAME", "Blade", "GoGo", "Shine", "QDesign"};

// Where a VBR header begins, counted from the frame's first byte: the four header bytes
// plus the side information, by version code and channel-mode code. A checksum after
// the header of a protected frame is not counted, as the encoders write it.
std::uint8_t VbrHeaderOffset(std::uint8_t versionCode, std::uint8_t modeCode);

// The Xing or VBRI header whose four letters stand at index (case counts); the empty
// record for anything else, or when the header would not lie wholly inside the block.
VBRData ReadVbrHeader(ByteSpan block, std::size_t index);
// Fields at their fixed places: the Xing flags are not consulted.
VBRData ReadXingHeader(ByteSpan block, std::size_t index);
VBRData ReadVbriHeader(ByteSpan block, std::size_t index);

// The encoder tag nearest the block's end within its last span + 8 bytes (the whole
// block when that is more): "LAME" with the four bytes behind it, or "GOGO"; empty
// when there is none.
std::string FindEncoderTag(ByteSpan block, std::uint16_t span);

}  // namespace plenvox
