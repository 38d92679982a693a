// Decoded pixels fitted into the host's thumbnail box: the size that keeps the picture's
// aspect ratio inside the box (never larger than the picture: a small cover is not
// blown up), and the scaling itself, each target pixel the mean of the source pixels
// that it covers, over a white background where the picture is transparent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plenvox {

struct TPixelSize {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
};

// The largest size of the picture's aspect ratio within the box and within the picture
// itself, each side at least 1; 0x0 when a side of either is 0.
TPixelSize FitInside(TPixelSize picture, TPixelSize box);

// Scales 32-bit pixels (blue, green, red, alpha; not premultiplied; rows of stride
// bytes, top-down) of size from to size to, no larger than from: the result is opaque,
// top-down, 4 bytes a pixel with alpha 255, rows without padding. Empty when the sizes
// are 0, to is larger than from, or pixels is shorter than the size says.
std::vector<std::uint8_t> ScaleDown(const std::uint8_t* pixels, std::size_t pixelBytes,
                                    std::size_t stride, TPixelSize from, TPixelSize to);

}  // namespace plenvox
