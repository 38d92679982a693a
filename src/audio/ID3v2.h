// The ID3v2 tag reader: whether a file starts with a tag, its major version, how many
// bytes it occupies, and the texts of sixteen kinds of frame (major versions 2, 3 and
// 4). It only reads. The MPEG analyser takes TagSize as the place where audio begins.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace plenvox {

class AudioFileReader;

constexpr std::size_t kId3v2SlotCount = 16;

// The frame kinds that the reader keeps, by slot; slot n of both tables names the same
// kind. Versions 3 and 4 use four-letter IDs, version 2 three-letter IDs.
//   0 title, 1 artist, 2 album, 3 track, 4 year, 5 genre, 6 comment, 7 composer,
//   8 encoded by, 9 copyright, 10 language, 11 URL link, and the fallbacks
//   12 recording time/original year, 13 original artist, 14 content group, 15 original album.
inline constexpr std::array<std::string_view, kId3v2SlotCount> FourLetterFrameIds = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM",
    "TENC", "TCOP", "TLAN", "WXXX", "TDRC", "TOPE", "TIT1", "TOAL"};
inline constexpr std::array<std::string_view, kId3v2SlotCount> ThreeLetterFrameIds = {
    "TT2", "TP1", "TAL", "TRK", "TYE", "TCO", "COM", "TCM",
    "TEN", "TCR", "TLA", "WXX", "TOR", "TOA", "TT1", "TOT"};

// The text of frame data whose first byte is its encoding: 0x01 is UTF-16 (little-endian
// unless a big-endian byte-order mark leads; byte-order marks are dropped; it ends at
// the first zero unit; each unit is converted to single-byte text by the platform),
// anything else is taken as single-byte text. Trimmed of bytes 0x00 to 0x20 at both ends.
std::string DecodeText(Platform& os, std::string_view data);

// The text behind the description of a comment (withLanguage: encoding, 3-byte language,
// description) or a URL link frame (encoding, description). The description ends at a
// zero byte, or for UTF-16 at a zero unit on a two-byte boundary.
std::string TextAfterDescription(Platform& os, std::string_view data, bool withLanguage);
// The link of a user-defined link frame: behind the description (in the frame's
// encoding) and its separator, single-byte text whatever the frame's encoding.
std::string LinkAfterDescription(Platform& os, std::string_view data);

class TID3v2 {
 public:
  explicit TID3v2(Platform& os);

  void Clear();
  // True when the file's first 10 bytes could be read, whether or not they hold a tag;
  // false (and cleared) when the file cannot be opened or read or is shorter than 10
  // bytes. Texts are filled only for versions 2 to 4 with a tag size above 0. Never throws.
  bool LoadFromFile(const std::string& fileName) noexcept;
  // The same from a file that the caller has open (the analyser's one open): reads what
  // it needs through file, from the file's start on; without texts only the header (for
  // a caller that reads the frames itself). May throw.
  bool Load(AudioFileReader& file, bool texts = true);

  bool Present() const { return present_; }
  // The header's major version, whatever its value.
  std::uint8_t TagVersion() const { return tagVersion_; }
  // Bytes from the start of the file to the first byte after the tag; 0 without a tag
  // or when the tag would reach beyond the file's end.
  std::int32_t TagSize() const { return tagSize_; }
  const std::string& Title() const { return title_; }
  const std::string& Artist() const { return artist_; }
  const std::string& Album() const { return album_; }
  std::uint16_t Track() const { return track_; }
  const std::string& TrackText() const { return trackText_; }
  const std::string& Year() const { return year_; }
  const std::string& Genre() const { return genre_; }
  const std::string& Comment() const { return comment_; }
  const std::string& Composer() const { return composer_; }
  const std::string& EncodedBy() const { return encodedBy_; }
  const std::string& Copyright() const { return copyright_; }
  const std::string& Language() const { return language_; }
  const std::string& UrlLink() const { return urlLink_; }

 private:
  struct TagInfo;

  void ScanFrames(AudioFileReader& file, TagInfo& info);
  void DeriveFields(const TagInfo& info);

  Platform& os_;
  bool present_ = false;
  std::uint8_t tagVersion_ = 0;
  std::int32_t tagSize_ = 0;
  std::string title_;
  std::string artist_;
  std::string album_;
  std::uint16_t track_ = 0;
  std::string trackText_;
  std::string year_;
  std::string genre_;
  std::string comment_;
  std::string composer_;
  std::string encodedBy_;
  std::string copyright_;
  std::string language_;
  std::string urlLink_;
};

}  // namespace plenvox
