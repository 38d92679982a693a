// The FLAC structures that its readers (native and in Ogg) share, each parsed from a span.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/AudioDescription.h"
#include "audio/ByteSpan.h"

namespace plenvox {

constexpr std::size_t kFlacStreamInfoSize = 34;

struct TFlacStreamInfo {
  bool Valid = false;  // whole, with a sample rate above 0
  std::uint16_t MaxBlockSize = 0;
  std::uint32_t SampleRate = 0;
  std::uint16_t Channels = 0;
  std::uint16_t BitsPerSample = 0;
  std::uint64_t TotalSamples = 0;  // 0: not known
};

// The 34 bytes of a STREAMINFO block's body.
TFlacStreamInfo ParseFlacStreamInfo(ByteSpan block);
// A PICTURE block's body that starts at blockOffset of the file: its type, MIME type and
// the place of its data.
TPictureLocation ParseFlacPicture(ByteSpan block, std::int64_t blockOffset);
// The samples up to the end of the last frame whose header (with a valid checksum) the
// file's end holds; 0 when it holds none.
std::uint64_t FlacSamplesToLastFrame(ByteSpan end, const TFlacStreamInfo& info);

}  // namespace plenvox
