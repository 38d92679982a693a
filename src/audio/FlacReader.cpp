// FLAC: the metadata blocks behind "fLaC" (STREAMINFO, VORBIS_COMMENT, PICTURE), and,
// for a stream that does not know its sample count, the last frame's header.
#include <algorithm>

#include "audio/FlacStructures.h"
#include "audio/FormatReaders.h"
#include "audio/LittleEndian.h"

namespace plenvox {

namespace {

constexpr std::size_t kBlockHeaderSize = 4;
constexpr std::uint32_t kMaxBlocks = 1024;
// A comment block larger than this is read only this far.
constexpr std::size_t kCommentMax = 256 * 1024;
// The end of the file searched for the last frame's header.
constexpr std::size_t kLastFrameSearch = 64 * 1024;

enum BlockType : std::uint8_t { kStreamInfo = 0, kVorbisComment = 4, kPicture = 6 };

// The utf-8-like coded number of a frame header at at: its value and its length.
bool CodedNumber(ByteSpan bytes, std::size_t at, std::uint64_t& value, std::size_t& length) {
  const std::uint8_t first = bytes.At(at);
  std::size_t extra = 0;
  if (first < 0x80) {
    value = first;
  } else if (first >= 0xC0 && first < 0xFE) {
    extra = first >= 0xFC ? 5 : first >= 0xF8 ? 4 : first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : 1;
    value = first & (0x3F >> extra);
  } else if (first == 0xFE) {
    extra = 6;
    value = 0;
  } else {
    return false;
  }
  if (!bytes.Has(at, 1 + extra)) return false;
  for (std::size_t i = 1; i <= extra; ++i) {
    const std::uint8_t next = bytes.At(at + i);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  length = 1 + extra;
  return true;
}

std::uint8_t Crc8(ByteSpan bytes, std::size_t count) {
  std::uint8_t crc = 0;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes.At(i);
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<std::uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
  }
  return crc;
}

}  // namespace

TFlacStreamInfo ParseFlacStreamInfo(ByteSpan block) {
  TFlacStreamInfo info;
  if (!block.Has(0, kFlacStreamInfoSize)) return info;
  info.MaxBlockSize = BigEndian16(block, 2);
  info.SampleRate = (BigEndian24(block, 10) >> 4) & 0xFFFFF;
  info.Channels = static_cast<std::uint16_t>(((block.At(12) >> 1) & 0x07) + 1);
  info.BitsPerSample = static_cast<std::uint16_t>((((block.At(12) & 1) << 4) | (block.At(13) >> 4)) + 1);
  info.TotalSamples = (std::uint64_t{block.At(13) & 0x0Fu} << 32) | BigEndian32(block, 14);
  info.Valid = info.SampleRate > 0;
  return info;
}

TPictureLocation ParseFlacPicture(ByteSpan block, std::int64_t blockOffset) {
  TPictureLocation picture;
  picture.Type = static_cast<std::uint8_t>(BigEndian32(block, 0));
  const std::uint32_t mimeLength = BigEndian32(block, 4);
  if (!block.Has(8, mimeLength)) return picture;
  picture.Mime = std::string(block.Text(8, mimeLength));
  const std::size_t descriptionAt = 8 + std::size_t{mimeLength};
  const std::uint32_t descriptionLength = BigEndian32(block, descriptionAt);
  if (!block.Has(descriptionAt + 4, descriptionLength)) return picture;
  // Width, height, depth and colours (16 bytes), then the data's length and the data.
  const std::size_t lengthAt = descriptionAt + 4 + descriptionLength + 16;
  if (!block.Has(lengthAt, 4)) return picture;
  picture.Offset = blockOffset + static_cast<std::int64_t>(lengthAt + 4);
  picture.Size = BigEndian32(block, lengthAt);
  return picture;
}

std::uint64_t FlacSamplesToLastFrame(ByteSpan end, const TFlacStreamInfo& info) {
  static constexpr std::array<std::uint32_t, 16> kBlockSizes = {
      0, 192, 576, 1152, 2304, 4608, 0, 0, 256, 512, 1024, 2048, 4096, 8192, 16384, 32768};
  for (std::size_t at = end.size() < 2 ? 0 : end.size() - 2; at-- > 0;) {
    if (end.At(at) != 0xFF || (end.At(at + 1) & 0xFE) != 0xF8) continue;
    const bool variable = (end.At(at + 1) & 1) != 0;
    const std::uint8_t sizeCode = end.At(at + 2) >> 4;
    const std::uint8_t rateCode = end.At(at + 2) & 0x0F;
    if (sizeCode == 0 || rateCode == 0x0F || (end.At(at + 3) >> 4) > 10 || (end.At(at + 3) & 1)) continue;
    std::uint64_t number = 0;
    std::size_t length = 0;
    if (!CodedNumber(end, at + 4, number, length)) continue;
    std::size_t next = at + 4 + length;
    std::uint32_t blockSize = kBlockSizes[sizeCode];
    if (sizeCode == 6) blockSize = end.At(next) + 1u, next += 1;
    if (sizeCode == 7) blockSize = BigEndian16(end, next) + 1u, next += 2;
    next += rateCode == 12 ? 1 : (rateCode == 13 || rateCode == 14) ? 2 : 0;
    if (!end.Has(at, next - at + 1) || Crc8(end.Sub(at), next - at) != end.At(next)) continue;
    const std::uint64_t first = variable ? number : number * info.MaxBlockSize;
    return first + blockSize;
  }
  return 0;
}

bool ReadFlac(TFormatReading& reading, std::int64_t start) {
  AudioFileReader& file = reading.File;
  TAudioDescription& description = reading.Description;
  TFlacStreamInfo info;
  std::int64_t position = start + 4;
  bool last = false;
  for (std::uint32_t count = 0; !last && count < kMaxBlocks && position < file.Length(); ++count) {
    ByteSpan bytes;
    if (!file.Fetch(position, kBlockHeaderSize + kFlacStreamInfoSize, bytes)) return false;
    if (!bytes.Has(0, kBlockHeaderSize)) break;
    last = (bytes.At(0) & 0x80) != 0;
    const std::uint8_t type = bytes.At(0) & 0x7F;
    const std::uint32_t length = BigEndian24(bytes, 1);
    const std::int64_t body = position + static_cast<std::int64_t>(kBlockHeaderSize);
    if (type == kStreamInfo) {
      info = ParseFlacStreamInfo(bytes.Sub(kBlockHeaderSize, length));
    } else if (type == kVorbisComment || type == kPicture) {
      const std::size_t want = std::min<std::size_t>(length, kCommentMax);
      if (!file.Fetch(body, want, bytes)) return false;
      if (type == kVorbisComment) {
        ParseVorbisComments(bytes.Sub(0, want), description);
      } else {
        description.OfferPicture(ParseFlacPicture(bytes.Sub(0, want), body));
      }
    }
    position = body + length;
  }
  if (!info.Valid) return true;
  description.Format = format::kFlac;
  description.SampleRate = info.SampleRate;
  description.Channels = info.Channels;
  description.BitsPerSample = info.BitsPerSample;
  std::uint64_t samples = info.TotalSamples;
  if (samples == 0) {
    ByteSpan end;
    if (!file.FetchEnd(kLastFrameSearch, end)) return false;
    samples = FlacSamplesToLastFrame(end, info);
  }
  SetLength(description, static_cast<double>(samples), info.SampleRate, file.Length() - std::min(position, file.Length()));
  return true;
}

}  // namespace plenvox
