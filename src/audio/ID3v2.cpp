#include "audio/ID3v2.h"

#include <algorithm>

#include "audio/AudioFileReader.h"
#include "audio/Id3v2FrameHeader.h"
#include "audio/Id3v2Header.h"
#include "audio/TagTrim.h"
#include "common/Text.h"

namespace plenvox {

namespace {

// Of a longer frame only this much data is read; the rest is passed over.
constexpr std::size_t kFrameDataMax = 500;
constexpr char kEncodingUtf16 = 0x01;

enum Slot : std::size_t {
  kTitle, kArtist, kAlbum, kTrack, kYear, kGenre, kComment, kComposer,
  kEncodedBy, kCopyright, kLanguage, kUrlLink, kYearFallback, kArtistFallback,
  kTitleFallback, kAlbumFallback
};

std::string FirstNonEmpty(std::string first, std::string second) {
  return first.empty() ? second : first;
}

// The number before the first "/" (as in "3/12") and before the first zero byte, or 0
// when that is no number; only the low 16 bits are kept.
std::uint16_t TrackNumber(std::string_view text) {
  text = text.substr(0, text.find('/'));
  text = text.substr(0, text.find('\0'));
  std::int32_t value = 0;
  if (!ParseInt32(text, value)) return 0;
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

// A genre may carry a numeric reference in parentheses in front, as in "(17)Rock".
std::string GenreName(const std::string& text) {
  const auto close = text.rfind(')');
  return close == std::string::npos ? text : text.substr(close + 1);
}

std::uint8_t Byte(std::string_view text, std::size_t at) {
  return static_cast<std::uint8_t>(text[at]);
}

std::string DecodeUtf16(Platform& os, std::string_view bytes) {
  const bool bigEndian = bytes.size() >= 2 && Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF;
  std::string text;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const std::uint8_t first = Byte(bytes, at);
    const std::uint8_t second = Byte(bytes, at + 1);
    const auto unit = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    if (unit == 0) break;
    if (unit == u'\uFEFF') continue;  // a byte-order mark, also a repeated one
    text += os.WideUnitToAnsi(unit);
  }
  return text;
}

// Where the text after a description starts: behind the first separator, or at the
// start when there is none.
std::size_t AfterSeparator(std::string_view text, bool wide) {
  if (!wide) {
    const auto zero = text.find('\0');
    return zero == std::string_view::npos ? 0 : zero + 1;
  }
  for (std::size_t at = 0; at + 1 < text.size(); at += 2) {
    if (text[at] == '\0' && text[at + 1] == '\0') return at + 2;
  }
  return 0;
}

}  // namespace

// The working record of one load: the tag's header and the raw data of the last
// accepted frame of each kind.
struct TID3v2::TagInfo {
  Id3v2Header Header;
  std::array<std::string, kId3v2SlotCount> Frames;

  // The last accepted frame of each kind wins; frames in encodings other than
  // single-byte text and UTF-16 are not used. A slot keeps kFrameDataMax bytes: the
  // data, then zero bytes (an empty frame reads as encoding 0).
  void Offer(std::string_view id, ByteSpan data) {
    const auto encoding = static_cast<char>(data.At(0));
    if (encoding != '\0' && encoding != kEncodingUtf16) return;
    const auto& ids = Header.MajorVersion > 2 ? FourLetterFrameIds : ThreeLetterFrameIds;
    for (std::size_t slot = 0; slot < kId3v2SlotCount; ++slot) {
      if (ids[slot] != id) continue;
      Frames[slot].assign(data.Text(0, kFrameDataMax));
      Frames[slot].resize(kFrameDataMax, '\0');
    }
  }
};

std::string DecodeText(Platform& os, std::string_view data) {
  if (data.empty() || data[0] != kEncodingUtf16) return TrimTag(data);
  return TrimTag(DecodeUtf16(os, data.substr(1)));
}

namespace {

// What follows the description and its separator (behind the encoding byte, and the
// language code when there is one).
std::string_view AfterDescription(std::string_view data, bool withLanguage) {
  const char encoding = data[0];
  std::string_view rest = data.substr(std::min<std::size_t>(data.size(), withLanguage ? 4 : 1));
  return rest.substr(AfterSeparator(rest, encoding == kEncodingUtf16));
}

}  // namespace

std::string TextAfterDescription(Platform& os, std::string_view data, bool withLanguage) {
  if (data.empty()) return {};
  return DecodeText(os, std::string(1, data[0]).append(AfterDescription(data, withLanguage)));
}

std::string LinkAfterDescription(Platform& os, std::string_view data) {
  if (data.empty()) return {};
  // Only the description follows the frame's encoding; the link is single-byte text
  // in every frame, so it is never decoded as UTF-16.
  return DecodeText(os, std::string(1, '\0').append(AfterDescription(data, false)));
}

TID3v2::TID3v2(Platform& os) : os_(os) {}

void TID3v2::Clear() {
  present_ = false;
  tagVersion_ = 0;
  tagSize_ = 0;
  track_ = 0;
  for (std::string* text : {&title_, &artist_, &album_, &trackText_, &year_, &genre_, &comment_,
                            &composer_, &encodedBy_, &copyright_, &language_, &urlLink_}) {
    text->clear();
  }
}

bool TID3v2::LoadFromFile(const std::string& fileName) noexcept {
  try {
    Clear();
    bool closed = false;
    // The close's own outcome does not count: the tag was read by then.
    if (ReadOpenFile(os_, fileName, [this](AudioFileReader& file) { return Load(file); }, closed)) {
      return true;
    }
  } catch (...) {
  }
  Clear();
  return false;
}

bool TID3v2::Load(AudioFileReader& file, bool texts) {
  Clear();
  ByteSpan start;
  if (!file.Fetch(0, kId3v2HeaderSize, start)) return false;
  const std::optional<Id3v2Header> header = ParseId3v2Header(start);
  if (!header) return false;
  if (!header->HasMarker()) return true;
  present_ = true;
  tagVersion_ = header->MajorVersion;
  tagSize_ = header->TagSize(file.Length());
  if (texts && tagVersion_ >= 2 && tagVersion_ <= 4 && tagSize_ > 0) {
    TagInfo info;
    info.Header = *header;
    ScanFrames(file, info);
    DeriveFields(info);
  }
  return true;
}

// Walks the frames from right after the header (an extended header is not skipped)
// until the tag's end, the file's end, padding, or anything that cannot be read. Of each
// frame only its header and the data that is used are fetched, so that a long frame
// (a picture) is passed over unread.
void TID3v2::ScanFrames(AudioFileReader& file, TagInfo& info) {
  const std::uint8_t version = info.Header.MajorVersion;
  std::int64_t position = kId3v2HeaderSize;
  while (position < tagSize_ && position < file.Length()) {
    ByteSpan bytes;
    if (!file.Fetch(position, Id3v2FrameHeaderSize(version), bytes)) return;
    const std::optional<Id3v2FrameHeader> header = ParseId3v2FrameHeader(bytes, version);
    if (!header) return;
    const std::size_t used = std::min<std::size_t>(header->DataSize, kFrameDataMax);
    if (!file.Fetch(position, header->HeaderSize + used, bytes)) return;
    // A frame cut off by the file's end is not used, and the frames end with it.
    if (!bytes.Has(header->HeaderSize, used)) return;
    if (!header->Unusable) info.Offer(header->IdText(), bytes.Sub(header->HeaderSize, used));
    position += static_cast<std::int64_t>(header->HeaderSize) + header->DataSize;
  }
}

void TID3v2::DeriveFields(const TagInfo& info) {
  const auto text = [&](Slot slot) { return DecodeText(os_, info.Frames[slot]); };
  title_ = FirstNonEmpty(text(kTitle), text(kTitleFallback));
  artist_ = FirstNonEmpty(text(kArtist), text(kArtistFallback));
  album_ = FirstNonEmpty(text(kAlbum), text(kAlbumFallback));
  trackText_ = text(kTrack);
  track_ = TrackNumber(trackText_);
  year_ = FirstNonEmpty(text(kYear), text(kYearFallback).substr(0, 4));
  genre_ = GenreName(text(kGenre));
  comment_ = TextAfterDescription(os_, info.Frames[kComment], true);
  composer_ = text(kComposer);
  encodedBy_ = text(kEncodedBy);
  copyright_ = text(kCopyright);
  language_ = text(kLanguage);
  urlLink_ = LinkAfterDescription(os_, info.Frames[kUrlLink]);
}

}  // namespace plenvox
