// What the first bytes of a picture say of it before anything decodes it: its kind
// (JPEG, PNG, GIF, BMP) and the dimensions that it declares, so that a picture that is
// no image, or whose declared size is beyond the limits, is refused before a decoder
// allocates anything for it.
#pragma once

#include <cstdint>
#include <optional>

#include "audio/ByteSpan.h"

namespace plenvox {

enum class TImageFormat { Jpeg, Png, Gif, Bmp };

// The largest picture accepted: each side, and the area (40 megapixels, 160 MB as 32-bit
// pixels; a cover of 3000x3000 has 9).
constexpr std::uint32_t kImageSideMax = 16384;
constexpr std::uint64_t kImagePixelsMax = 40000000;

struct TImageInfo {
  TImageFormat Format = TImageFormat::Jpeg;
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
};

// The kind and declared dimensions of the image in bytes; nothing when the bytes are no
// image of a known kind, declare no dimensions within them (a JPEG is searched for its
// frame header), declare a side of 0, exceed the limits above, or (JPEG and PNG) lack
// the marker of the image's end: a picture cut short.
std::optional<TImageInfo> SniffImage(ByteSpan bytes);

// Whether the dimensions lie within the limits.
bool WithinImageLimits(std::uint64_t width, std::uint64_t height);

}  // namespace plenvox
