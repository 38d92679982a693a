#include "audio/ID3v2.h"

#include <algorithm>
#include <memory>

#include "audio/BigEndian.h"
#include "audio/ReadFully.h"
#include "audio/TagTrim.h"
#include "common/Text.h"

namespace plenvox {

namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::uint8_t kFooterFlag = 0x10;
constexpr std::int32_t kFooterSize = 10;
// Of a longer frame only this much data is read; the rest is passed over.
constexpr std::size_t kFrameDataMax = 500;
// Bit of the second frame-flag byte (versions 3 and 4) whose frames are passed over.
constexpr std::uint8_t kUnusableFrameFlag = 0x80;
constexpr char kEncodingUtf16 = 0x01;
constexpr std::uint32_t kLargestFrameSize = 0x7FFFFFFF;

enum Slot : std::size_t {
  kTitle, kArtist, kAlbum, kTrack, kYear, kGenre, kComment, kComposer,
  kEncodedBy, kCopyright, kLanguage, kUrlLink, kYearFallback, kArtistFallback,
  kTitleFallback, kAlbumFallback
};

struct FrameLayout {
  std::size_t headerSize;
  std::size_t idLength;
};

constexpr FrameLayout kThreeLetterLayout{6, 3};
constexpr FrameLayout kFourLetterLayout{10, 4};

// The declared data size of a frame, or false when the scan must end at this frame.
// Version 4 stores sizes synch-safe, version 3 as plain numbers; a version-3 size of
// 2^31 or more is no plausible frame and stops the scan.
bool FrameDataSize(std::uint8_t majorVersion, const std::uint8_t* header, std::uint32_t& size) {
  if (majorVersion == 2) {
    size = BigEndian24(header + 3);
    return true;
  }
  size = majorVersion == 4 ? SynchSafe32(header + 4) : BigEndian32(header + 4);
  return size <= kLargestFrameSize;
}

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

struct TID3v2::TagInfo {
  std::array<std::uint8_t, 3> Marker{};
  std::uint8_t MajorVersion = 0;
  std::uint8_t Revision = 0;
  std::uint8_t Flags = 0;
  std::array<std::uint8_t, 4> SizeBytes{};
  std::int64_t FileLength = 0;
  std::array<std::string, kId3v2SlotCount> Frames;

  void SetHeader(const std::array<std::uint8_t, kHeaderSize>& header) {
    std::copy_n(header.begin(), Marker.size(), Marker.begin());
    MajorVersion = header[3];
    Revision = header[4];
    Flags = header[5];
    std::copy_n(header.begin() + 6, SizeBytes.size(), SizeBytes.begin());
  }

  bool HasMarker() const { return Marker[0] == 'I' && Marker[1] == 'D' && Marker[2] == '3'; }

  // Header and tag, plus the footer when the flags announce one; 0 when that would
  // reach beyond the file. The size bytes are taken whole, their top bits unmasked.
  std::int32_t TagSize() const {
    std::int64_t size = (std::int64_t{SizeBytes[0]} << 21) + (std::int64_t{SizeBytes[1]} << 14) +
                        (std::int64_t{SizeBytes[2]} << 7) + SizeBytes[3] +
                        std::int64_t{kHeaderSize};
    if (Flags & kFooterFlag) size += kFooterSize;
    return size > FileLength ? 0 : static_cast<std::int32_t>(size);
  }

  // The last accepted frame of each kind wins; frames in encodings other than
  // single-byte text and UTF-16 are not used.
  void Offer(std::string_view id, const std::string& data) {
    if (data[0] != '\0' && data[0] != kEncodingUtf16) return;
    const auto& ids = MajorVersion > 2 ? FourLetterFrameIds : ThreeLetterFrameIds;
    for (std::size_t slot = 0; slot < kId3v2SlotCount; ++slot) {
      if (ids[slot] == id) Frames[slot] = data;
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
    TagInfo info;
    if (!ReadHeader(fileName, info)) return false;
    if (!info.HasMarker()) return true;
    present_ = true;
    tagVersion_ = info.MajorVersion;
    tagSize_ = info.TagSize();
    if (tagVersion_ >= 2 && tagVersion_ <= 4 && tagSize_ > 0) {
      ScanFrames(fileName, info);
      DeriveFields(info);
    }
    return true;
  } catch (...) {
    Clear();
    return false;
  }
}

bool TID3v2::ReadHeader(const std::string& fileName, TagInfo& info) {
  const auto file = OpenToRead(os_, fileName);
  if (!file) return false;
  std::array<std::uint8_t, kHeaderSize> header{};
  const bool read = ReadExactly(*file, header.data(), header.size()) && file->Size(info.FileLength);
  file->Close();
  if (read) info.SetHeader(header);
  return read;
}

// Walks the frames from right after the header (an extended header is not skipped)
// until the tag's end, the file's end, padding, or anything that cannot be read.
void TID3v2::ScanFrames(const std::string& fileName, TagInfo& info) {
  const auto file = OpenToRead(os_, fileName);
  if (!file) return;
  const FrameLayout layout = info.MajorVersion > 2 ? kFourLetterLayout : kThreeLetterLayout;
  std::int64_t position = kHeaderSize;
  bool positioned = file->Seek(position);
  while (positioned && position < tagSize_ && position < info.FileLength) {
    std::array<std::uint8_t, kFourLetterLayout.headerSize> header{};
    if (!ReadExactly(*file, header.data(), layout.headerSize)) break;
    if (header[0] < 'A' || header[0] > 'Z') break;
    std::uint32_t size = 0;
    if (!FrameDataSize(info.MajorVersion, header.data(), size)) break;
    std::string data(kFrameDataMax, '\0');
    if (!ReadExactly(*file, data.data(), std::min<std::size_t>(size, kFrameDataMax))) break;
    const bool unusable = layout.headerSize == kFourLetterLayout.headerSize &&
                          (header[9] & kUnusableFrameFlag) != 0;
    if (!unusable) {
      info.Offer(std::string_view(reinterpret_cast<const char*>(header.data()), layout.idLength),
                 data);
    }
    position += static_cast<std::int64_t>(layout.headerSize) + size;
    positioned = file->Seek(position);
  }
  file->Close();
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
