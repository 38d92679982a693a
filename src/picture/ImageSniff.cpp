#include "picture/ImageSniff.h"

#include <cstring>

#include "audio/BigEndian.h"

namespace plenvox {

namespace {

constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint16_t BigEndian16(ByteSpan bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes.At(at) << 8) | bytes.At(at + 1));
}

std::uint16_t LittleEndian16(ByteSpan bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes.At(at) | (bytes.At(at + 1) << 8));
}

std::uint32_t LittleEndian32(ByteSpan bytes, std::size_t at) {
  return LittleEndian16(bytes, at) | (std::uint32_t{LittleEndian16(bytes, at + 2)} << 16);
}

std::optional<TImageInfo> Checked(TImageFormat format, std::uint64_t width, std::uint64_t height) {
  if (!WithinImageLimits(width, height)) return std::nullopt;
  return TImageInfo{format, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

// Whether the bytes from at on hold the two bytes a then b.
bool HoldsPair(ByteSpan bytes, std::size_t at, std::uint8_t a, std::uint8_t b) {
  for (; bytes.Has(at, 2); ++at) {
    if (bytes.At(at) == a && bytes.At(at + 1) == b) return true;
  }
  return false;
}

// PNG: the signature, then the IHDR chunk (length 13) with width and height first; the
// IEND chunk (length 0, then its CRC) must be there, else the file was cut short.
std::optional<TImageInfo> Png(ByteSpan bytes) {
  if (!bytes.Has(0, 24) || !bytes.LettersAt(12, "IHDR")) return std::nullopt;
  bool ended = false;
  for (std::size_t at = bytes.size() >= 12 ? bytes.size() - 12 : 0; at >= 33 && !ended; --at) {
    ended = BigEndian32(bytes, at) == 0 && bytes.LettersAt(at + 4, "IEND");
  }
  if (!ended) return std::nullopt;
  return Checked(TImageFormat::Png, BigEndian32(bytes, 16), BigEndian32(bytes, 20));
}

// JPEG: the segments after SOI, each a marker (0xFF, code) and a 16-bit length that
// counts itself, up to the first frame header (SOF0-SOF15 but DHT 0xC4, JPG 0xC8, DAC
// 0xCC): precision, height, width; then on to the first scan (SOS), behind which the
// image's end (EOI, 0xFF 0xD9) must follow, else the file was cut short (inside the
// scan's data a 0xFF byte is always followed by 0x00 or a restart marker). Fill bytes
// 0xFF before a marker are skipped.
std::optional<TImageInfo> Jpeg(ByteSpan bytes) {
  std::optional<TImageInfo> frame;
  std::size_t at = 2;
  while (bytes.Has(at, 4)) {
    if (bytes.At(at) != 0xFF) return std::nullopt;
    const std::uint8_t code = bytes.At(at + 1);
    if (code == 0xFF) {
      ++at;
      continue;
    }
    // Markers without a length: TEM and RST0-RST7.
    if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
      at += 2;
      continue;
    }
    if (code == 0xD9) return std::nullopt;  // the image's end before its scan
    const std::uint16_t length = BigEndian16(bytes, at + 2);
    if (length < 2) return std::nullopt;
    if (code == 0xDA) {
      if (!frame || !HoldsPair(bytes, at + 2 + std::size_t{length}, 0xFF, 0xD9)) return std::nullopt;
      return Checked(frame->Format, frame->Width, frame->Height);
    }
    if (!frame && code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC) {
      if (length < 7 || !bytes.Has(at + 4, 5)) return std::nullopt;
      frame = TImageInfo{TImageFormat::Jpeg, BigEndian16(bytes, at + 7), BigEndian16(bytes, at + 5)};
    }
    at += 2 + std::size_t{length};
  }
  return std::nullopt;
}

// GIF: "GIF87a" or "GIF89a", then the logical screen's width and height (little-endian).
std::optional<TImageInfo> Gif(ByteSpan bytes) {
  if (!bytes.Has(0, 10)) return std::nullopt;
  return Checked(TImageFormat::Gif, LittleEndian16(bytes, 6), LittleEndian16(bytes, 8));
}

// BMP: "BM", the file header (14 bytes), then an info header of at least 40 bytes whose
// width and height are signed 32-bit numbers (a negative height: rows top-down).
std::optional<TImageInfo> Bmp(ByteSpan bytes) {
  if (!bytes.Has(0, 26) || LittleEndian32(bytes, 14) < 40) return std::nullopt;
  const auto width = static_cast<std::int32_t>(LittleEndian32(bytes, 18));
  const auto height = static_cast<std::int32_t>(LittleEndian32(bytes, 22));
  if (width <= 0 || height == INT32_MIN) return std::nullopt;
  return Checked(TImageFormat::Bmp, static_cast<std::uint64_t>(width),
                 static_cast<std::uint64_t>(height < 0 ? -std::int64_t{height} : height));
}

}  // namespace

bool WithinImageLimits(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= kImageSideMax && height <= kImageSideMax &&
         width * height <= kImagePixelsMax;
}

std::optional<TImageInfo> SniffImage(ByteSpan bytes) {
  if (bytes.Has(0, 3) && bytes.At(0) == 0xFF && bytes.At(1) == 0xD8 && bytes.At(2) == 0xFF) {
    return Jpeg(bytes);
  }
  if (bytes.Has(0, sizeof kPngSignature) &&
      std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0) {
    return Png(bytes);
  }
  if (bytes.LettersAt(0, "GIF87a") || bytes.LettersAt(0, "GIF89a")) return Gif(bytes);
  if (bytes.LettersAt(0, "BM")) return Bmp(bytes);
  return std::nullopt;
}

}  // namespace plenvox
