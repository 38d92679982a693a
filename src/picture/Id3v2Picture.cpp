#include "picture/Id3v2Picture.h"

#include <algorithm>

#include "audio/AudioFileReader.h"
#include "audio/BigEndian.h"
#include "audio/Id3v2FrameHeader.h"
#include "audio/Id3v2Header.h"

namespace plenvox {

namespace {

// The most of a picture frame's data read for its header: encoding, MIME type, type and
// description all lie within it, or the frame is not used.
constexpr std::size_t kPictureHeaderMax = 4096;

constexpr std::uint8_t kTagUnsynchronised = 0x80;
constexpr std::uint8_t kTagExtendedHeader = 0x40;
// The second flag byte of a version 4 frame; of a version 3 frame.
constexpr std::uint8_t kV4Compressed = 0x08, kV4Encrypted = 0x04, kV4Unsynchronised = 0x02,
                       kV4DataLength = 0x01;
constexpr std::uint8_t kV3Compressed = 0x80, kV3Encrypted = 0x40;

bool Wide(std::uint8_t encoding) { return encoding == 1 || encoding == 2; }

// The index right after the zero-terminated text from at on (two-byte units when wide);
// nothing when the span ends first.
std::optional<std::size_t> AfterTerminator(ByteSpan data, std::size_t at, bool wide) {
  const std::size_t step = wide ? 2 : 1;
  for (; data.Has(at, step); at += step) {
    if (data.At(at) == 0 && (!wide || data.At(at + 1) == 0)) return at + step;
  }
  return std::nullopt;
}

// The frames begin after the header and, when the flags announce one, the extended
// header (version 3: a size that excludes itself; version 4: a synch-safe size that
// includes itself).
std::optional<std::int64_t> FirstFrame(AudioFileReader& file, const Id3v2Header& header) {
  const std::int64_t start = kId3v2HeaderSize;
  if (!(header.Flags & kTagExtendedHeader) || header.MajorVersion < 3) return start;
  ByteSpan bytes;
  if (!file.Fetch(start, 4, bytes) || !bytes.Has(0, 4)) return std::nullopt;
  if (header.MajorVersion == 3) return start + 4 + std::int64_t{BigEndian32(bytes, 0)};
  return start + std::int64_t{SynchSafe32(bytes, 0)};
}

}  // namespace

std::optional<TId3v2PictureHeader> ParseId3v2PictureHeader(ByteSpan data, bool threeLetter) {
  if (!data.Has(0, 1)) return std::nullopt;
  const std::uint8_t encoding = data.At(0);
  TId3v2PictureHeader header;
  std::size_t at = 1;
  if (threeLetter) {
    if (!data.Has(at, 3)) return std::nullopt;
    header.Mime.assign(data.Text(at, 3));
    at += 3;
  } else {
    const auto end = AfterTerminator(data, at, false);
    if (!end) return std::nullopt;
    header.Mime.assign(data.Text(at, *end - 1 - at));
    at = *end;
  }
  if (header.Mime == "-->") return std::nullopt;
  if (!data.Has(at, 1)) return std::nullopt;
  header.Type = data.At(at++);
  const auto end = AfterTerminator(data, at, Wide(encoding));
  if (!end || *end >= data.size()) return std::nullopt;
  header.DataStart = *end;
  return header;
}

std::optional<TPictureLocation> FindId3v2Picture(AudioFileReader& file) {
  ByteSpan bytes;
  if (!file.Fetch(0, kId3v2HeaderSize, bytes)) return std::nullopt;
  const std::optional<Id3v2Header> tag = ParseId3v2Header(bytes);
  if (!tag || !tag->HasMarker()) return std::nullopt;
  const std::uint8_t version = tag->MajorVersion;
  const std::int64_t tagEnd = tag->TagSize(file.Length());
  if (version < 2 || version > 4 || tagEnd == 0) return std::nullopt;
  if (version < 4 && (tag->Flags & kTagUnsynchronised)) return std::nullopt;
  const auto first = FirstFrame(file, *tag);
  if (!first) return std::nullopt;

  std::optional<TPictureLocation> chosen;
  const std::string_view pictureId = version == 2 ? "PIC" : "APIC";
  for (std::int64_t position = *first; position < tagEnd;) {
    if (!file.Fetch(position, Id3v2FrameHeaderSize(version), bytes)) break;
    const std::optional<Id3v2FrameHeader> frame = ParseId3v2FrameHeader(bytes, version);
    if (!frame) break;
    const std::int64_t dataStart = position + static_cast<std::int64_t>(frame->HeaderSize);
    const std::int64_t next = dataStart + frame->DataSize;
    // A frame past the tag's end: neither it nor anything behind it is used.
    if (next > tagEnd) break;
    const std::uint8_t flags = version > 2 ? bytes.At(9) : 0;
    const bool usable = version == 4 ? !(flags & (kV4Compressed | kV4Encrypted))
                                     : !(flags & (kV3Compressed | kV3Encrypted));
    if (frame->IdText() == pictureId && usable) {
      // Version 4: a data length indicator (four bytes) may precede the data.
      const std::int64_t skip = version == 4 && (flags & kV4DataLength) ? 4 : 0;
      const std::size_t want = static_cast<std::size_t>(
          std::min<std::int64_t>(frame->DataSize - std::min<std::int64_t>(skip, frame->DataSize),
                                 kPictureHeaderMax));
      ByteSpan data;
      if (!file.Fetch(dataStart + skip, want, data)) break;
      const auto header = ParseId3v2PictureHeader(data.Sub(0, want), version == 2);
      if (header && skip < frame->DataSize) {
        TPictureLocation found;
        found.Offset = dataStart + skip + static_cast<std::int64_t>(header->DataStart);
        found.Size = static_cast<std::uint32_t>(next - found.Offset);
        found.Type = header->Type;
        found.Mime = header->Mime;
        found.Unsynchronised =
            version == 4 && ((tag->Flags & kTagUnsynchronised) || (flags & kV4Unsynchronised));
        if (found.Type == kPictureTypeFrontCover) return found;
        if (!chosen) chosen = found;
      }
    }
    position = next;
  }
  return chosen;
}

}  // namespace plenvox
