#include "audio/ID3v1.h"

#include "audio/AudioFileReader.h"
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

std::string Field(ByteSpan tag, std::size_t at, std::size_t length) {
  return TrimTagTrailing(tag.Text(at, length));
}

// A track number stands behind a zero byte, or behind a blank in tags whose writer
// padded with blanks; a comment that merely runs on in either filler is no track.
bool IsVersion11(ByteSpan tag) {
  const std::uint8_t separator = tag.At(kSeparatorAt);
  const std::uint8_t track = tag.At(kTrackAt);
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
    bool closed = false;
    const bool read = ReadOpenFile(
        os_, fileName,
        [this](AudioFileReader& file) {
          ByteSpan end;
          return file.FetchEnd(kTagSize, end) && LoadFromFileEnd(end);
        },
        closed);
    if (read && closed) return true;
    Clear();
    return false;
  } catch (...) {
    Clear();
    return false;
  }
}

bool TID3v1::LoadFromFileEnd(ByteSpan fileEnd) {
  Clear();
  if (fileEnd.size() < kTagSize) return false;
  const ByteSpan tag = fileEnd.Last(kTagSize);
  if (tag.LettersAt(0, "TAG")) Fill(tag);
  return true;
}

void TID3v1::Fill(ByteSpan tag) {
  present_ = true;
  tagVersion_ = IsVersion11(tag) ? 2 : 1;
  title_ = Field(tag, kTitleAt, kTextLength);
  artist_ = Field(tag, kArtistAt, kTextLength);
  album_ = Field(tag, kAlbumAt, kTextLength);
  year_ = Field(tag, kYearAt, kYearLength);
  if (tagVersion_ == 2) {
    comment_ = Field(tag, kCommentAt, kShortCommentLength);
    track_ = tag.At(kTrackAt);
  } else {
    comment_ = Field(tag, kCommentAt, kTextLength);
  }
  genreNumber_ = tag.At(kGenreAt);
}

}  // namespace plenvox
