// The ID3 tags as Unicode: ID3v2 text frames in each of their four encodings and ID3v1's
// fields through the 8-bit code page. The MPEG analyser's own tag readers (ID3v1.h,
// ID3v2.h) keep their single-byte results; these readers feed the description.
#include <algorithm>
#include <array>

#include "audio/BigEndian.h"
#include "audio/FormatReaders.h"
#include "audio/ID3v1.h"
#include "audio/Id3v2FrameHeader.h"
#include "audio/Id3v2Header.h"

namespace plenvox {

namespace {

// Of a text frame this much is read; of a picture frame enough for its MIME type,
// picture type and description.
constexpr std::size_t kTextFrameMax = 4096;
constexpr std::size_t kPictureHeadMax = 1024;
constexpr std::uint8_t kExtendedHeaderFlag = 0x40;
constexpr std::uint8_t kUnsynchronisedFlag = 0x80;
constexpr std::uint8_t kFooterFlag = 0x10;

enum Slot : std::size_t {
  kTitle, kArtist, kAlbum, kAlbumArtist, kTrack, kDisc, kYear, kGenre, kComment, kComposer,
  kRecorded, kTitleFallback, kArtistFallback, kAlbumFallback, kPicture, kSlotCount
};

struct FrameIds {
  std::string_view V34;
  std::string_view V2;
};

constexpr std::array<FrameIds, kSlotCount> kFrameIds = {{
    {"TIT2", "TT2"}, {"TPE1", "TP1"}, {"TALB", "TAL"}, {"TPE2", "TP2"}, {"TRCK", "TRK"},
    {"TPOS", "TPA"}, {"TYER", "TYE"}, {"TCON", "TCO"}, {"COMM", "COM"}, {"TCOM", "TCM"},
    {"TDRC", "TOR"}, {"TIT1", "TT1"}, {"TOPE", "TOA"}, {"TOAL", "TOT"}, {"APIC", "PIC"},
}};

// The text of data in an ID3v2 encoding (0 ISO-8859-1, 1 UTF-16 with a byte-order mark,
// 2 UTF-16BE, 3 UTF-8), up to its terminator.
std::string EncodedText(std::uint8_t encoding, ByteSpan data, const TTagTextDecoder& decoder) {
  switch (encoding) {
    case 0: {
      const std::string_view bytes = data.Text(0, data.size());
      return decoder.EightBit(bytes.substr(0, bytes.find('\0')));
    }
    case 1: return Utf16TagText(data, false);
    case 2: return Utf16TagText(data, true);
    case 3: return Utf8TagText(data.Text(0, data.size()));
    default: return {};
  }
}

// The index behind the terminator of a text in the encoding that starts at at; the
// span's size when there is none.
std::size_t AfterTerminator(ByteSpan data, std::size_t at, std::uint8_t encoding) {
  const bool wide = encoding == 1 || encoding == 2;
  const std::size_t step = wide ? 2 : 1;
  for (; data.Has(at, step); at += step) {
    if (data.At(at) == 0 && (!wide || data.At(at + 1) == 0)) return at + step;
  }
  return data.size();
}

// Removes the zero byte that unsynchronisation put behind every 0xFF.
std::vector<std::uint8_t> Resynchronised(ByteSpan data) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(data.size());
  for (std::size_t at = 0; at < data.size(); ++at) {
    bytes.push_back(data.At(at));
    if (data.At(at) == 0xFF && data.At(at + 1) == 0 && at + 1 < data.size()) ++at;
  }
  return bytes;
}

// The picture frame's head: its MIME type (version 2: a three-letter image format), its
// type and where its bytes start within the data.
TPictureLocation PictureOf(ByteSpan data, std::uint8_t version, std::int64_t dataOffset,
                           std::uint32_t dataSize) {
  TPictureLocation picture;
  const std::uint8_t encoding = data.At(0);
  std::size_t at = 1;
  if (version == 2) {
    const std::string_view format = data.Text(1, 3);
    picture.Mime = format == "PNG" ? "image/png" : format == "JPG" ? "image/jpeg" : std::string(format);
    at = 4;
  } else {
    const std::size_t end = AfterTerminator(data, 1, 0);
    picture.Mime = std::string(data.Text(1, end > 1 ? end - 2 : 0));
    at = end;
  }
  picture.Type = data.At(at);
  at = AfterTerminator(data, at + 1, encoding);
  if (at < data.size() && at <= dataSize) {
    picture.Offset = dataOffset + static_cast<std::int64_t>(at);
    picture.Size = dataSize - static_cast<std::uint32_t>(at);
  }
  return picture;
}

struct FrameTexts {
  std::array<std::string, kSlotCount> Slots;
};

// One frame's data into its slot; the last frame of a kind wins.
void TakeFrame(Slot slot, ByteSpan data, const TTagTextDecoder& decoder, FrameTexts& texts) {
  const std::uint8_t encoding = data.At(0);
  if (slot == kComment) {
    const std::size_t textAt = AfterTerminator(data, 4, encoding);
    texts.Slots[slot] = TrimmedText(EncodedText(encoding, data.Sub(textAt), decoder));
    return;
  }
  texts.Slots[slot] = TrimmedText(EncodedText(encoding, data.Sub(1), decoder));
}

void DeriveTags(const FrameTexts& texts, TTagsUtf8& tags) {
  const auto first = [&](Slot slot, Slot fallback) {
    return texts.Slots[slot].empty() ? texts.Slots[fallback] : texts.Slots[slot];
  };
  tags.Title = first(kTitle, kTitleFallback);
  tags.Artist = first(kArtist, kArtistFallback);
  tags.Album = first(kAlbum, kAlbumFallback);
  tags.AlbumArtist = texts.Slots[kAlbumArtist];
  tags.Track = LeadingNumber(texts.Slots[kTrack]);
  tags.Disc = LeadingNumber(texts.Slots[kDisc]);
  tags.Year = YearOf(first(kYear, kRecorded));
  tags.Genre = GenreText(texts.Slots[kGenre]);
  tags.Comment = texts.Slots[kComment];
  tags.Composer = texts.Slots[kComposer];
}

}  // namespace

bool ReadId3v2Tags(TFormatReading& reading, std::int64_t offset, TTagsUtf8& tags,
                   std::int64_t& tagEnd) {
  AudioFileReader& file = reading.File;
  tagEnd = offset;
  ByteSpan bytes;
  if (!file.Fetch(offset, kId3v2HeaderSize, bytes)) return false;
  const std::optional<Id3v2Header> header = ParseId3v2Header(bytes);
  if (!header || !header->HasMarker()) return true;
  const std::uint8_t version = header->MajorVersion;
  const std::int64_t size = SynchSafe32(bytes, 6) + static_cast<std::int64_t>(kId3v2HeaderSize) +
                            ((header->Flags & kFooterFlag) && version == 4 ? 10 : 0);
  tagEnd = std::min(offset + size, file.Length());
  if (version < 2 || version > 4) return true;

  std::int64_t position = offset + static_cast<std::int64_t>(kId3v2HeaderSize);
  if ((header->Flags & kExtendedHeaderFlag) && version > 2) {
    if (!file.Fetch(position, 4, bytes) || !bytes.Has(0, 4)) return true;
    position += version == 4 ? SynchSafe32(bytes, 0) : BigEndian32(bytes, 0) + std::int64_t{4};
  }
  const bool tagUnsynchronised = (header->Flags & kUnsynchronisedFlag) && version < 4;
  FrameTexts texts;
  while (position < tagEnd) {
    if (!file.Fetch(position, Id3v2FrameHeaderSize(version), bytes)) return false;
    const std::optional<Id3v2FrameHeader> frame = ParseId3v2FrameHeader(bytes, version);
    if (!frame) break;
    const std::uint8_t formatFlags = version > 2 ? bytes.At(9) : 0;
    const std::int64_t dataOffset = position + static_cast<std::int64_t>(frame->HeaderSize);
    position = dataOffset + frame->DataSize;
    const auto ids = std::find_if(kFrameIds.begin(), kFrameIds.end(), [&](const FrameIds& known) {
      return (version > 2 ? known.V34 : known.V2) == frame->IdText();
    });
    if (ids == kFrameIds.end()) continue;
    // Compressed or encrypted frames are not read (version 3: 0x80 and 0x40; 4: 0x08, 0x04).
    if (formatFlags & (version == 3 ? 0xC0 : 0x0C)) continue;
    const auto slot = static_cast<Slot>(ids - kFrameIds.begin());
    std::int64_t start = dataOffset;
    std::uint32_t dataSize = frame->DataSize;
    // Version 4's data length indicator and version 3's group byte come first.
    const std::uint32_t skip = version == 4 && (formatFlags & 0x01) ? 4 : version == 3 && (formatFlags & 0x20) ? 1 : 0;
    if (skip > dataSize) continue;
    start += skip;
    dataSize -= skip;
    const std::size_t want = std::min<std::size_t>(dataSize, slot == kPicture ? kPictureHeadMax : kTextFrameMax);
    if (!file.Fetch(start, want, bytes)) return false;
    ByteSpan data = bytes.Sub(0, want);
    std::vector<std::uint8_t> plain;
    if (tagUnsynchronised || (version == 4 && (formatFlags & 0x02))) {
      plain = Resynchronised(data);
      data = ByteSpan(plain);
    }
    if (data.size() == 0) continue;
    if (slot == kPicture) {
      TPictureLocation picture = PictureOf(data, version, start, dataSize);
      if (picture.Size > 0 && plain.empty()) reading.Description.OfferPicture(picture);
      else reading.Description.HasPicture = true;
      continue;
    }
    TakeFrame(slot, data, reading.Text, texts);
  }
  DeriveTags(texts, tags);
  return true;
}

void ReadId3v1Tags(ByteSpan fileEnd, const TTagTextDecoder& text, TTagsUtf8& tags) {
  if (fileEnd.size() < TID3v1::kTagSize) return;
  const ByteSpan tag = fileEnd.Last(TID3v1::kTagSize);
  if (!tag.LettersAt(0, "TAG")) return;
  const auto field = [&](std::size_t at, std::size_t length) {
    const std::string_view bytes = tag.Text(at, length);
    return TrimmedText(text.EightBit(bytes.substr(0, bytes.find('\0'))));
  };
  tags.Title = field(3, 30);
  tags.Artist = field(33, 30);
  tags.Album = field(63, 30);
  tags.Year = field(93, 4);
  const bool v11 = (tag.At(125) == 0 && tag.At(126) != 0) || (tag.At(125) == 0x20 && tag.At(126) != 0x20);
  tags.Comment = field(97, v11 ? 28 : 30);
  tags.Track = v11 ? tag.At(126) : 0;
  tags.Genre = std::string(NamedGenre(tag.At(127)));
}

}  // namespace plenvox
