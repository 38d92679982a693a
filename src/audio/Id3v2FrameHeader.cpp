#include "audio/Id3v2FrameHeader.h"

#include "audio/BigEndian.h"

namespace plenvox {

namespace {

constexpr std::uint32_t kLargestFrameSize = 0x7FFFFFFF;
constexpr std::uint8_t kUnusableFrameFlag = 0x80;

}  // namespace

std::optional<Id3v2FrameHeader> ParseId3v2FrameHeader(ByteSpan bytes, std::uint8_t majorVersion) {
  Id3v2FrameHeader header;
  header.HeaderSize = Id3v2FrameHeaderSize(majorVersion);
  if (!bytes.Has(0, header.HeaderSize)) return std::nullopt;
  if (bytes.At(0) < 'A' || bytes.At(0) > 'Z') return std::nullopt;
  header.IdLength = majorVersion > 2 ? 4 : 3;
  for (std::size_t i = 0; i < header.IdLength; ++i) header.Id[i] = static_cast<char>(bytes.At(i));
  if (majorVersion <= 2) {
    header.DataSize = BigEndian24(bytes, 3);
    return header;
  }
  header.DataSize = majorVersion == 4 ? SynchSafe32(bytes, 4) : BigEndian32(bytes, 4);
  if (header.DataSize > kLargestFrameSize) return std::nullopt;
  header.Unusable = (bytes.At(9) & kUnusableFrameFlag) != 0;
  return header;
}

}  // namespace plenvox
