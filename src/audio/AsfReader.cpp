// WMA (ASF): the objects of the header object: file properties (play duration and
// preroll), the audio stream's properties (its WAVEFORMATEX), the content description
// and the extended content description (UTF-16LE texts and numbers).
#include <algorithm>
#include <array>

#include "audio/FormatReaders.h"
#include "audio/LittleEndian.h"

namespace plenvox {

namespace {

using Guid = std::array<std::uint8_t, 16>;

// GUIDs as the file stores them (the first three fields little-endian).
constexpr Guid kFileProperties = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                  0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid kStreamProperties = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                    0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr Guid kAudioMedia = {0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11,
                              0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};
constexpr Guid kContentDescription = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                      0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr Guid kExtendedContentDescription = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                              0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
constexpr std::size_t kObjectHeaderSize = 24;
constexpr std::size_t kHeaderObjectSize = 30;
// The header object is read whole up to this size; objects beyond are not read.
constexpr std::size_t kHeaderMax = 1024 * 1024;

bool GuidAt(ByteSpan bytes, std::size_t at, const Guid& guid) {
  return bytes.Has(at, guid.size()) && std::equal(guid.begin(), guid.end(), bytes.data() + at);
}

std::string Utf16Le(ByteSpan bytes) { return TrimmedText(Utf16TagText(bytes, false)); }

void ParseFileProperties(ByteSpan body, double& seconds) {
  if (!body.Has(0, 80)) return;
  const std::uint64_t duration = LittleEndian64(body, 40);  // in 100 ns
  const std::uint64_t preroll = LittleEndian64(body, 56);   // in ms
  seconds = std::max(0.0, static_cast<double>(duration) / 1e7 - static_cast<double>(preroll) / 1000);
}

void ParseStreamProperties(ByteSpan body, TAudioDescription& description) {
  if (!GuidAt(body, 0, kAudioMedia) || !body.Has(54, 16) || description.SampleRate != 0) return;
  const ByteSpan format = body.Sub(54);
  description.Channels = LittleEndian16(format, 2);
  description.SampleRate = LittleEndian32(format, 4);
  description.BitRate = (LittleEndian32(format, 8) * 8 + 500) / 1000;
  // Bits per sample only for PCM (format tag 1); WMA's codecs are lossy.
  description.BitsPerSample = LittleEndian16(format, 0) == 1 ? LittleEndian16(format, 14) : 0;
}

void ParseContentDescription(ByteSpan body, TTagsUtf8& tags) {
  if (!body.Has(0, 10)) return;
  std::size_t at = 10;
  std::array<std::string, 5> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::uint16_t length = LittleEndian16(body, 2 * i);
    texts[i] = Utf16Le(body.Sub(at, length));
    at += length;
  }
  tags.Title = texts[0];
  tags.Artist = texts[1];
  tags.Comment = texts[3];
}

// A value of the extended content description as text (type 0) or number (types 3, 5).
std::string ValueText(std::uint16_t type, ByteSpan value) {
  if (type == 0) return Utf16Le(value);
  if (type == 3 && value.Has(0, 4)) return std::to_string(LittleEndian32(value, 0));
  if (type == 5 && value.Has(0, 2)) return std::to_string(LittleEndian16(value, 0));
  return {};
}

// A WM/Picture value that starts at offset of the file: picture type, data length, MIME
// type and description (UTF-16LE, zero-terminated), then the data.
TPictureLocation AsfPicture(ByteSpan value, std::int64_t offset) {
  TPictureLocation picture;
  picture.Type = value.At(0);
  const std::uint32_t size = LittleEndian32(value, 1);
  std::size_t at = 5;
  const auto skipText = [&](std::string* text) {
    const std::size_t start = at;
    while (value.Has(at, 2) && (value.At(at) != 0 || value.At(at + 1) != 0)) at += 2;
    if (text) *text = Utf16Le(value.Sub(start, at - start));
    at += 2;
  };
  skipText(&picture.Mime);
  skipText(nullptr);
  if (value.Has(at, size)) {
    picture.Offset = offset + static_cast<std::int64_t>(at);
    picture.Size = size;
  }
  return picture;
}

void ParseExtendedContent(ByteSpan body, std::int64_t bodyOffset, TAudioDescription& description) {
  TTagsUtf8& tags = description.Tags;
  const std::uint16_t count = LittleEndian16(body, 0);
  std::size_t at = 2;
  std::uint32_t zeroBasedTrack = 0;
  bool haveZeroBased = false;
  for (std::uint16_t i = 0; i < count && body.Has(at, 2); ++i) {
    const std::uint16_t nameLength = LittleEndian16(body, at);
    const std::string name = Utf16Le(body.Sub(at + 2, nameLength));
    at += 2 + std::size_t{nameLength};
    if (!body.Has(at, 4)) return;
    const std::uint16_t type = LittleEndian16(body, at);
    const std::uint16_t length = LittleEndian16(body, at + 2);
    const ByteSpan value = body.Sub(at + 4, length);
    at += 4 + std::size_t{length};
    if (name == "WM/Picture") {
      const std::size_t valueAt = at - length;
      description.OfferPicture(AsfPicture(value, bodyOffset + static_cast<std::int64_t>(valueAt)));
      continue;
    }
    const std::string text = ValueText(type, value);
    if (name == "WM/AlbumTitle") tags.Album = text;
    else if (name == "WM/AlbumArtist") tags.AlbumArtist = text;
    else if (name == "WM/Year") tags.Year = YearOf(text);
    else if (name == "WM/Genre") tags.Genre = GenreText(text);
    else if (name == "WM/Composer") tags.Composer = text;
    else if (name == "WM/TrackNumber") tags.Track = LeadingNumber(text);
    else if (name == "WM/PartOfSet") tags.Disc = LeadingNumber(text);
    else if (name == "WM/Track") zeroBasedTrack = LeadingNumber(text) + 1, haveZeroBased = !text.empty();
    else if (name == "Title" && tags.Title.empty()) tags.Title = text;
    else if (name == "Author" && tags.Artist.empty()) tags.Artist = text;
  }
  if (tags.Track == 0 && haveZeroBased) tags.Track = zeroBasedTrack;
}

}  // namespace

bool ReadAsf(TFormatReading& reading) {
  AudioFileReader& file = reading.File;
  TAudioDescription& description = reading.Description;
  ByteSpan bytes;
  if (!file.Fetch(0, kHeaderObjectSize, bytes)) return false;
  const std::uint64_t headerSize = LittleEndian64(bytes, 16);
  const std::uint32_t objects = LittleEndian32(bytes, 24);
  const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(headerSize, kHeaderMax));
  if (!file.Fetch(0, want, bytes)) return false;
  const ByteSpan header = bytes.Sub(0, want);
  double seconds = 0;
  std::size_t at = kHeaderObjectSize;
  for (std::uint32_t i = 0; i < objects && header.Has(at, kObjectHeaderSize); ++i) {
    const std::uint64_t size = LittleEndian64(header, at + 16);
    if (size < kObjectHeaderSize || size > header.size() - at) break;
    const ByteSpan body = header.Sub(at + kObjectHeaderSize, static_cast<std::size_t>(size) - kObjectHeaderSize);
    if (GuidAt(header, at, kFileProperties)) ParseFileProperties(body, seconds);
    else if (GuidAt(header, at, kStreamProperties)) ParseStreamProperties(body, description);
    else if (GuidAt(header, at, kContentDescription)) ParseContentDescription(body, description.Tags);
    else if (GuidAt(header, at, kExtendedContentDescription)) {
      ParseExtendedContent(body, static_cast<std::int64_t>(at + kObjectHeaderSize), description);
    }
    at += static_cast<std::size_t>(size);
  }
  if (description.SampleRate == 0) {
    description.Channels = description.BitsPerSample = 0;
    description.BitRate = 0;
    return true;
  }
  description.Format = format::kWma;
  description.PlayTime = seconds;
  return true;
}

}  // namespace plenvox
