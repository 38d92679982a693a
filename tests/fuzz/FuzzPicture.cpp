// Fuzzes the cover extraction with the input as the whole file: the ID3v2 picture finder
// and the read of the picture it finds (as a thumbnail asks for them), the picture
// frame's header parser, the sniffing of an image's kind and declared size, and the fit
// into a box, whose sizes come from the input too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "MemoryPlatform.h"
#include "audio/AudioFileReader.h"
#include "audio/BigEndian.h"
#include "picture/CoverArt.h"
#include "picture/Id3v2Picture.h"
#include "picture/ImageScale.h"
#include "picture/ImageSniff.h"

using plenvox::ByteSpan;
using plenvox::fuzz::Check;

namespace {

void CheckSniffed(const std::optional<plenvox::TImageInfo>& info) {
  if (!info) return;
  Check(plenvox::WithinImageLimits(info->Width, info->Height), "a sniffed image lies within the limits");
}

void CheckExtraction(const std::uint8_t* data, std::size_t size) {
  plenvox::fuzz::MemoryPlatform os(plenvox::fuzz::AsText(data, size), 97);
  std::uint32_t error = 0;
  const auto file = os.OpenRead(plenvox::fuzz::MemoryPlatform::FileName(), error);
  Check(file != nullptr, "the memory file opens");
  plenvox::AudioFileReader reader(*file);
  Check(reader.Measure(), "the memory file has a length");
  const auto location = plenvox::FindEmbeddedPicture(reader);
  if (!location) return;
  Check(location->Offset >= 10 && location->Size > 0 &&
            location->Offset + std::int64_t{location->Size} <= static_cast<std::int64_t>(size),
        "a found picture lies inside the file, behind the tag's header");
  const auto picture = plenvox::ReadPictureAt(reader, *location);
  if (!picture) return;
  Check(picture->Bytes.size() <= location->Size, "no more bytes read than the picture has");
  Check(location->Unsynchronised ||
            std::equal(picture->Bytes.begin(), picture->Bytes.end(), data + location->Offset),
        "the picture's bytes are the file's");
  CheckSniffed(picture->Info);
}

void CheckHeader(ByteSpan bytes) {
  for (const bool threeLetter : {false, true}) {
    const auto header = plenvox::ParseId3v2PictureHeader(bytes, threeLetter);
    if (!header) continue;
    Check(header->DataStart > (threeLetter ? 5u : 3u) && header->DataStart < bytes.size(),
          "the picture starts behind its header, inside the frame");
    Check(header->Mime != "-->", "a link is no picture");
  }
}

void CheckFit(ByteSpan bytes) {
  if (!bytes.Has(0, 16)) return;
  const plenvox::TPixelSize picture{plenvox::BigEndian32(bytes, 0) % 70000, plenvox::BigEndian32(bytes, 4) % 70000};
  const plenvox::TPixelSize box{plenvox::BigEndian32(bytes, 8) % 5000, plenvox::BigEndian32(bytes, 12) % 5000};
  const plenvox::TPixelSize fit = plenvox::FitInside(picture, box);
  if (picture.Width == 0 || picture.Height == 0 || box.Width == 0 || box.Height == 0) {
    Check(fit.Width == 0 && fit.Height == 0, "nothing fits into nothing");
    return;
  }
  Check(fit.Width >= 1 && fit.Height >= 1 && fit.Width <= box.Width && fit.Height <= box.Height &&
            fit.Width <= picture.Width && fit.Height <= picture.Height,
        "the fit lies inside the box and the picture");
  Check(fit.Width == std::min(box.Width, picture.Width) || fit.Height == std::min(box.Height, picture.Height),
        "the fit fills the box on one side");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteSpan bytes(data, size);
  CheckExtraction(data, size);
  CheckHeader(bytes);
  CheckSniffed(plenvox::SniffImage(bytes));
  CheckFit(bytes);
  return 0;
}
