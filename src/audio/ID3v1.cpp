#include "audio/ID3v1.h"

#include "audio/ReadFully.h"
#include "audio/TagTrim.h"

namespace plenvox {

namespace {

// Field positions within the 128-byte tag.
constexpr std::size_t kTitleAt = 3;
constexpr std::size_t kArtistAt = 33;
constexpr std::size_t kAlbumAt = 63;
constexpr std::size_t kYearAt = 93;
constexpr std::size_t kCommentAt = 97;
constexpr std::size_t kTextLength = 30;
constexpr std::size_t kYearLength = 4;
// Version 1.1 shortens the comment to 28 bytes and keeps the track number in byte 126,
// behind a separator byte 125.
constexpr std::size_t kShortCommentLength = 28;
constexpr std::size_t kSeparatorAt = 125;
constexpr std::size_t kTrackAt = 126;
constexpr std::size_t kGenreAt = 127;

using TagBytes = std::array<std::uint8_t, TID3v1::kTagSize>;

std::string Field(const TagBytes& tag, std::size_t at, std::size_t length) {
  return TrimTagTrailing(std::string_view(reinterpret_cast<const char*>(tag.data()) + at, length));
}

// A track number stands behind a zero byte, or behind a blank in tags whose writer
// padded with blanks; a comment that merely runs on in either filler is no track.
bool IsVersion11(const TagBytes& tag) {
  const std::uint8_t separator = tag[kSeparatorAt];
  const std::uint8_t track = tag[kTrackAt];
  return (separator == 0x00 && track != 0x00) || (separator == 0x20 && track != 0x20);
}

}  // namespace

TID3v1::TID3v1(Platform& os) : os_(os) {}

void TID3v1::Clear() {
  present_ = false;
  tagVersion_ = 1;
  title_.clear();
  artist_.clear();
  album_.clear();
  year_.clear();
  comment_.clear();
  track_ = 0;
  genreNumber_ = 255;
}

bool TID3v1::LoadFromFile(const std::string& fileName) noexcept {
  try {
    Clear();
    TagBytes tag{};
    if (!ReadLastBytes(fileName, tag)) return false;
    if (tag[0] == 'T' && tag[1] == 'A' && tag[2] == 'G') Fill(tag);
    return true;
  } catch (...) {
    Clear();
    return false;
  }
}

bool TID3v1::ReadLastBytes(const std::string& fileName, TagBytes& tag) {
  const auto file = OpenToRead(os_, fileName);
  if (!file) return false;
  std::int64_t length = 0;
  const bool read = file->Size(length) && length >= static_cast<std::int64_t>(kTagSize) &&
                    file->Seek(length - static_cast<std::int64_t>(kTagSize)) &&
                    ReadExactly(*file, tag.data(), tag.size());
  const bool closed = file->Close();
  return read && closed;
}

void TID3v1::Fill(const TagBytes& tag) {
  present_ = true;
  tagVersion_ = IsVersion11(tag) ? 2 : 1;
  title_ = Field(tag, kTitleAt, kTextLength);
  artist_ = Field(tag, kArtistAt, kTextLength);
  album_ = Field(tag, kAlbumAt, kTextLength);
  year_ = Field(tag, kYearAt, kYearLength);
  if (tagVersion_ == 2) {
    comment_ = Field(tag, kCommentAt, kShortCommentLength);
    track_ = tag[kTrackAt];
  } else {
    comment_ = Field(tag, kCommentAt, kTextLength);
  }
  genreNumber_ = tag[kGenreAt];
}

}  // namespace plenvox
