#include "picture/ImageScale.h"

#include <algorithm>

namespace plenvox {

TPixelSize FitInside(TPixelSize picture, TPixelSize box) {
  if (picture.Width == 0 || picture.Height == 0 || box.Width == 0 || box.Height == 0) return {};
  const std::uint64_t width = std::min(picture.Width, box.Width);
  const std::uint64_t height = std::min(picture.Height, box.Height);
  // The side that binds: width / picture.Width against height / picture.Height, in integers.
  TPixelSize fit;
  if (width * picture.Height <= height * picture.Width) {
    fit.Width = static_cast<std::uint32_t>(width);
    fit.Height = static_cast<std::uint32_t>((width * picture.Height + picture.Width / 2) / picture.Width);
  } else {
    fit.Height = static_cast<std::uint32_t>(height);
    fit.Width = static_cast<std::uint32_t>((height * picture.Width + picture.Height / 2) / picture.Height);
  }
  fit.Width = std::clamp<std::uint32_t>(fit.Width, 1, static_cast<std::uint32_t>(width));
  fit.Height = std::clamp<std::uint32_t>(fit.Height, 1, static_cast<std::uint32_t>(height));
  return fit;
}

std::vector<std::uint8_t> ScaleDown(const std::uint8_t* pixels, std::size_t pixelBytes,
                                    std::size_t stride, TPixelSize from, TPixelSize to) {
  if (from.Width == 0 || from.Height == 0 || to.Width == 0 || to.Height == 0) return {};
  if (to.Width > from.Width || to.Height > from.Height) return {};
  if (stride < std::size_t{from.Width} * 4 || !pixels ||
      pixelBytes < stride * (from.Height - 1) + std::size_t{from.Width} * 4) {
    return {};
  }
  std::vector<std::uint8_t> out(std::size_t{to.Width} * to.Height * 4);
  // The source columns of each target column: [first, end).
  std::vector<std::uint32_t> columnStart(to.Width + 1);
  for (std::uint32_t x = 0; x <= to.Width; ++x) {
    columnStart[x] = static_cast<std::uint32_t>(std::uint64_t{x} * from.Width / to.Width);
  }
  std::vector<std::uint64_t> sums(std::size_t{to.Width} * 4);
  for (std::uint32_t y = 0; y < to.Height; ++y) {
    const auto top = static_cast<std::uint32_t>(std::uint64_t{y} * from.Height / to.Height);
    const auto bottom = static_cast<std::uint32_t>(std::uint64_t{y + 1} * from.Height / to.Height);
    std::fill(sums.begin(), sums.end(), 0);
    for (std::uint32_t row = top; row < bottom; ++row) {
      const std::uint8_t* line = pixels + stride * row;
      for (std::uint32_t x = 0; x < to.Width; ++x) {
        std::uint64_t* sum = &sums[std::size_t{x} * 4];
        for (std::uint32_t column = columnStart[x]; column < columnStart[x + 1]; ++column) {
          const std::uint8_t* pixel = line + std::size_t{column} * 4;
          const std::uint32_t alpha = pixel[3];
          // Over white: c * a + 255 * (255 - a), in 255ths.
          for (int channel = 0; channel < 3; ++channel) {
            sum[channel] += pixel[channel] * alpha + 255u * (255u - alpha);
          }
          ++sum[3];
        }
      }
    }
    std::uint8_t* target = out.data() + std::size_t{y} * to.Width * 4;
    for (std::uint32_t x = 0; x < to.Width; ++x) {
      const std::uint64_t* sum = &sums[std::size_t{x} * 4];
      const std::uint64_t weight = sum[3] * 255;
      for (int channel = 0; channel < 3; ++channel) {
        target[x * 4 + channel] = static_cast<std::uint8_t>((sum[channel] + weight / 2) / weight);
      }
      target[x * 4 + 3] = 255;
    }
  }
  return out;
}

}  // namespace plenvox
