#include "audio/Id3v2Header.h"

namespace plenvox {

namespace {

constexpr std::uint8_t kFooterFlag = 0x10;
constexpr std::int64_t kFooterSize = 10;

}  // namespace

std::int32_t Id3v2Header::TagSize(std::int64_t fileLength) const {
  std::int64_t size = (std::int64_t{SizeBytes[0]} << 21) + (std::int64_t{SizeBytes[1]} << 14) +
                      (std::int64_t{SizeBytes[2]} << 7) + SizeBytes[3] +
                      static_cast<std::int64_t>(kId3v2HeaderSize);
  if (Flags & kFooterFlag) size += kFooterSize;
  return size > fileLength ? 0 : static_cast<std::int32_t>(size);
}

std::optional<Id3v2Header> ParseId3v2Header(ByteSpan bytes) {
  if (!bytes.Has(0, kId3v2HeaderSize)) return std::nullopt;
  Id3v2Header header;
  header.Marker = {bytes.At(0), bytes.At(1), bytes.At(2)};
  header.MajorVersion = bytes.At(3);
  header.Revision = bytes.At(4);
  header.Flags = bytes.At(5);
  header.SizeBytes = {bytes.At(6), bytes.At(7), bytes.At(8), bytes.At(9)};
  return header;
}

}  // namespace plenvox
