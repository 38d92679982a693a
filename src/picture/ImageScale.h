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

// Scales 32-bit pixels (blue, green, red, alpha; not premultiplied) of size from down to
// size to, taking the source rows one after the other, so that a decoder can hand them
// over in stripes and no whole picture need be held. The result is opaque, top-down, 4
// bytes a pixel with alpha 255, rows without padding.
class TDownScaler {
 public:
  // Not Valid() when a size is 0 or to is larger than from.
  TDownScaler(TPixelSize from, TPixelSize to);

  bool Valid() const { return valid_; }
  // The next source row (from.Width pixels); rows beyond the last are ignored.
  void AddRow(const std::uint8_t* row);
  // Every row added: the scaled pixels; before that, empty.
  std::vector<std::uint8_t> Result() const;

 private:
  TPixelSize from_;
  TPixelSize to_;
  bool valid_ = false;
  std::vector<std::uint32_t> columnStart_;  // the source columns of each target column
  std::vector<std::uint64_t> sums_;         // of the target row being made: blue, green, red, count
  std::uint32_t sourceRow_ = 0;
  std::uint32_t targetRow_ = 0;
  std::vector<std::uint8_t> out_;
};

// The same over a whole picture in memory (rows of stride bytes, top-down); empty when
// the scaler is not valid or pixels is shorter than the size says.
std::vector<std::uint8_t> ScaleDown(const std::uint8_t* pixels, std::size_t pixelBytes,
                                    std::size_t stride, TPixelSize from, TPixelSize to);

}  // namespace plenvox
