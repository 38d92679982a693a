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

// Target row y averages the source rows [y * from / to, (y + 1) * from / to), and likewise
// for columns: since to is no larger than from, each holds at least one.
TDownScaler::TDownScaler(TPixelSize from, TPixelSize to) : from_(from), to_(to) {
  valid_ = from.Width > 0 && from.Height > 0 && to.Width > 0 && to.Height > 0 && to.Width <= from.Width &&
           to.Height <= from.Height;
  if (!valid_) return;
  columnStart_.resize(std::size_t{to.Width} + 1);
  for (std::uint32_t x = 0; x <= to.Width; ++x) {
    columnStart_[x] = static_cast<std::uint32_t>(std::uint64_t{x} * from.Width / to.Width);
  }
  sums_.assign(std::size_t{to.Width} * 4, 0);
  out_.reserve(std::size_t{to.Width} * to.Height * 4);
}

void TDownScaler::AddRow(const std::uint8_t* row) {
  if (!valid_ || targetRow_ >= to_.Height) return;
  for (std::uint32_t x = 0; x < to_.Width; ++x) {
    std::uint64_t* sum = &sums_[std::size_t{x} * 4];
    for (std::uint32_t column = columnStart_[x]; column < columnStart_[x + 1]; ++column) {
      const std::uint8_t* pixel = row + std::size_t{column} * 4;
      const std::uint32_t alpha = pixel[3];
      // Over white: c * a + 255 * (255 - a), in 255ths.
      for (int channel = 0; channel < 3; ++channel) sum[channel] += pixel[channel] * alpha + 255u * (255u - alpha);
      ++sum[3];
    }
  }
  ++sourceRow_;
  const auto end = static_cast<std::uint32_t>(std::uint64_t{targetRow_ + 1} * from_.Height / to_.Height);
  if (sourceRow_ < end) return;
  for (std::uint32_t x = 0; x < to_.Width; ++x) {
    const std::uint64_t* sum = &sums_[std::size_t{x} * 4];
    const std::uint64_t weight = sum[3] * 255;
    for (int channel = 0; channel < 3; ++channel) {
      out_.push_back(static_cast<std::uint8_t>((sum[channel] + weight / 2) / weight));
    }
    out_.push_back(255);
  }
  std::fill(sums_.begin(), sums_.end(), 0);
  ++targetRow_;
}

std::vector<std::uint8_t> TDownScaler::Result() const {
  return valid_ && targetRow_ == to_.Height ? out_ : std::vector<std::uint8_t>();
}

std::vector<std::uint8_t> ScaleDown(const std::uint8_t* pixels, std::size_t pixelBytes,
                                    std::size_t stride, TPixelSize from, TPixelSize to) {
  TDownScaler scaler(from, to);
  if (!scaler.Valid() || !pixels || stride < std::size_t{from.Width} * 4 ||
      pixelBytes < stride * (from.Height - 1) + std::size_t{from.Width} * 4) {
    return {};
  }
  for (std::uint32_t row = 0; row < from.Height; ++row) scaler.AddRow(pixels + stride * row);
  return scaler.Result();
}

}  // namespace plenvox
