// Ogg: the first logical stream's identification and comment packets (Vorbis, Opus or
// FLAC), and the granule position of its last page that finishes a packet.
#include <algorithm>
#include <array>
#include <vector>

#include "audio/FlacStructures.h"
#include "audio/FormatReaders.h"
#include "audio/LittleEndian.h"

namespace plenvox {

namespace {

constexpr std::size_t kPageHeaderSize = 27;
constexpr std::size_t kCommentMax = 256 * 1024;
constexpr std::size_t kCommentPagesMax = 64;
// The file's end is searched for the last page in windows of this size, so far back; the
// first window is smaller, as the last page usually lies in it.
constexpr std::size_t kFirstEndWindow = 16 * 1024;
constexpr std::size_t kEndWindow = 64 * 1024;
constexpr int kEndWindowsMax = 16;
constexpr std::uint32_t kOpusRate = 48000;

struct OggPage {
  bool Valid = false;
  std::uint8_t Type = 0;
  std::int64_t Granule = 0;
  std::uint32_t Serial = 0;
  std::size_t HeaderSize = 0;
  std::size_t BodySize = 0;
  std::size_t Segments = 0;
  std::array<std::uint8_t, 255> Lacing{};
};

// The page header at the span's start, with its segment table.
OggPage ParseOggPage(ByteSpan bytes) {
  OggPage page;
  if (!bytes.LettersAt(0, "OggS") || bytes.At(4) != 0 || !bytes.Has(0, kPageHeaderSize)) return page;
  const std::uint8_t segments = bytes.At(26);
  if (!bytes.Has(kPageHeaderSize, segments)) return page;
  page.Type = bytes.At(5);
  page.Granule = static_cast<std::int64_t>(LittleEndian64(bytes, 6));
  page.Serial = LittleEndian32(bytes, 14);
  page.HeaderSize = kPageHeaderSize + segments;
  page.Segments = segments;
  for (std::size_t i = 0; i < segments; ++i) {
    page.Lacing[i] = bytes.At(kPageHeaderSize + i);
    page.BodySize += page.Lacing[i];
  }
  page.Valid = true;
  return page;
}

enum class Codec { None, Vorbis, Opus, Flac };

struct StreamHead {
  Codec Kind = Codec::None;
  std::uint32_t Serial = 0;
  std::uint32_t SampleRate = 0;
  std::uint16_t Channels = 0;
  std::uint16_t BitsPerSample = 0;
  std::int32_t NominalBitRate = 0;
  std::uint16_t PreSkip = 0;
};

// The identification packet of the stream's first page.
StreamHead ParseIdentification(ByteSpan packet) {
  StreamHead head;
  if (packet.LettersAt(0, "\x01vorbis") && packet.Has(0, 30)) {
    head.Kind = Codec::Vorbis;
    head.Channels = packet.At(11);
    head.SampleRate = LittleEndian32(packet, 12);
    head.NominalBitRate = static_cast<std::int32_t>(LittleEndian32(packet, 20));
  } else if (packet.LettersAt(0, "OpusHead") && packet.Has(0, 19) && packet.At(8) < 16) {
    head.Kind = Codec::Opus;
    head.Channels = packet.At(9);
    head.PreSkip = LittleEndian16(packet, 10);
    head.SampleRate = kOpusRate;
  } else if (packet.LettersAt(0, "\x7F" "FLAC") && packet.LettersAt(9, "fLaC") && packet.Has(0, 51)) {
    const TFlacStreamInfo info = ParseFlacStreamInfo(packet.Sub(17, kFlacStreamInfoSize));
    if (!info.Valid) return head;
    head.Kind = Codec::Flac;
    head.SampleRate = info.SampleRate;
    head.Channels = info.Channels;
    head.BitsPerSample = info.BitsPerSample;
  }
  return head;
}

// Appends the page's body to packet up to the end of the first packet that ends on it;
// true when one ended.
bool TakePacket(const OggPage& page, ByteSpan body, std::vector<std::uint8_t>& packet) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < page.Segments; ++i) {
    const std::uint8_t lacing = page.Lacing[i];
    const ByteSpan part = body.Sub(at, lacing);
    if (packet.size() < kCommentMax) packet.insert(packet.end(), part.data(), part.data() + part.size());
    at += lacing;
    if (lacing < 255) return true;
  }
  return false;
}

void ParseComments(const StreamHead& head, ByteSpan packet, TAudioDescription& description) {
  switch (head.Kind) {
    case Codec::Vorbis:
      if (packet.LettersAt(0, "\x03vorbis")) ParseVorbisComments(packet.Sub(7), description);
      break;
    case Codec::Opus:
      if (packet.LettersAt(0, "OpusTags")) ParseVorbisComments(packet.Sub(8), description);
      break;
    case Codec::Flac:
      if ((packet.At(0) & 0x7F) == 4) ParseVorbisComments(packet.Sub(4), description);
      break;
    case Codec::None: break;
  }
}

// The granule of the last page of the stream in the window that finishes a packet, or -1.
std::int64_t LastGranuleIn(ByteSpan window, std::uint32_t serial) {
  for (std::size_t at = window.size(); at-- > 0;) {
    if (window.At(at) != 'O' || !window.LettersAt(at, "OggS")) continue;
    const OggPage page = ParseOggPage(window.Sub(at));
    if (page.Valid && page.Serial == serial && page.Granule != -1) return page.Granule;
  }
  return -1;
}

// The page at position: its header (kept in lacing) and its body, in bytes.
bool FetchPage(AudioFileReader& file, std::int64_t position, OggPage& page, ByteSpan& body) {
  ByteSpan bytes;
  if (!file.Fetch(position, kPageHeaderSize + 255, bytes)) return false;
  page = ParseOggPage(bytes);
  if (!page.Valid) return true;
  if (!file.Fetch(position + static_cast<std::int64_t>(page.HeaderSize), page.BodySize, body)) return false;
  body = body.Sub(0, page.BodySize);
  return true;
}

}  // namespace

bool ReadOgg(TFormatReading& reading) {
  AudioFileReader& file = reading.File;
  TAudioDescription& description = reading.Description;
  ByteSpan bytes;
  OggPage page;
  if (!FetchPage(file, 0, page, bytes)) return false;
  if (!page.Valid) return true;
  StreamHead head = ParseIdentification(bytes.Sub(0, page.Lacing[0]));
  if (head.Kind == Codec::None) return true;
  head.Serial = page.Serial;

  std::int64_t position = static_cast<std::int64_t>(page.HeaderSize + page.BodySize);
  std::vector<std::uint8_t> packet;
  for (std::size_t count = 0; count < kCommentPagesMax && position < file.Length(); ++count) {
    if (!FetchPage(file, position, page, bytes)) return false;
    if (!page.Valid) break;
    const bool ended = page.Serial == head.Serial && TakePacket(page, bytes, packet);
    position += static_cast<std::int64_t>(page.HeaderSize + page.BodySize);
    if (ended) break;
  }
  ParseComments(head, ByteSpan(packet), description);
  const std::int64_t headerBytes = position;

  std::int64_t granule = -1;
  std::int64_t windowEnd = file.Length();
  for (int i = 0; i < kEndWindowsMax && granule == -1 && windowEnd > 0; ++i) {
    const auto window = static_cast<std::int64_t>(i == 0 ? kFirstEndWindow : kEndWindow);
    const std::int64_t start = std::max<std::int64_t>(0, windowEnd - window);
    if (!file.Fetch(start, static_cast<std::size_t>(windowEnd - start), bytes)) return false;
    granule = LastGranuleIn(bytes.Sub(0, static_cast<std::size_t>(windowEnd - start)), head.Serial);
    // The next window overlaps this one by a page header, so that no header is cut.
    windowEnd = start == 0 ? 0 : start + static_cast<std::int64_t>(kPageHeaderSize + 255);
  }

  description.SampleRate = head.SampleRate;
  description.Channels = head.Channels;
  description.BitsPerSample = head.BitsPerSample;
  double samples = granule > 0 ? static_cast<double>(granule) : 0;
  switch (head.Kind) {
    case Codec::Vorbis:
      description.Format = format::kVorbis;
      if (head.NominalBitRate > 0) description.BitRate = static_cast<std::uint32_t>(head.NominalBitRate / 1000);
      break;
    case Codec::Opus:
      description.Format = format::kOpus;
      samples -= head.PreSkip;
      break;
    case Codec::Flac: description.Format = format::kFlac; break;
    case Codec::None: break;
  }
  SetLength(description, samples, head.SampleRate, file.Length() - headerBytes);
  return true;
}

}  // namespace plenvox
