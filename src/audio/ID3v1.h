// The ID3v1 tag reader: whether the last 128 bytes of a file hold a tag, its minor
// version (1.0 or 1.1) and its fields, read as the tag stores them (no character-set
// conversion). It only reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/ByteSpan.h"
#include "platform/Platform.h"

namespace plenvox {

constexpr std::size_t GenreCount = 148;

// The genre names by the number that a tag stores, spelled as the format's lists have
// them (misspellings included, so that names match other programs').
inline constexpr std::array<std::string_view, GenreCount> GenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient",
    "Trip-Hop", "Vocal", "Jazz+Funk",
    "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip",
    "Gospel", "Noise",
    "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta",
    "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Psychadelic", "Rave", "Showtunes",
    "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock",
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival",
    "Celtic", "Bluegrass",
    "Avantgarde", "Gothic Rock", "Progessive Rock", "Psychedelic Rock", "Symphonic Rock",
    "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass",
    "Primus", "Porn Groove",
    "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad",
    "Rhythmic Soul", "Freestyle",
    "Duet", "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa",
    "Drum & Bass", "Club-House", "Hardcore",
    "Terror", "Indie", "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap",
    "Heavy Metal", "Black Metal", "Crossover",
    "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", "Trash Metal", "Anime",
    "JPop", "Synthpop"};

class TID3v1 {
 public:
  // The size of the tag at the end of a file.
  static constexpr std::size_t kTagSize = 128;

  explicit TID3v1(Platform& os);

  void Clear();
  // Reads the file's last 128 bytes. True when they could be read, whether or not they
  // hold a tag; false (and cleared) when the file cannot be opened or read or is
  // shorter than 128 bytes. Never throws.
  bool LoadFromFile(const std::string& fileName) noexcept;
  // The same from bytes that end where the file ends (the analyser's read of the file's
  // end): true when they hold at least 128 bytes, the last 128 of which are the tag's
  // place; false (and cleared) when they are fewer.
  bool LoadFromFileEnd(ByteSpan fileEnd);

  bool Present() const { return present_; }
  // 1 for version 1.0, 2 for version 1.1.
  std::uint8_t TagVersion() const { return tagVersion_; }
  const std::string& Title() const { return title_; }
  const std::string& Artist() const { return artist_; }
  const std::string& Album() const { return album_; }
  const std::string& Year() const { return year_; }
  const std::string& Comment() const { return comment_; }
  // Set only for version 1.1.
  std::uint8_t Track() const { return track_; }
  // As stored, 148 to 255 included; 255 when cleared.
  std::uint8_t GenreNumber() const { return genreNumber_; }

 private:
  // The fields of a tag whose 128 bytes the span holds.
  void Fill(ByteSpan tag);

  Platform& os_;
  bool present_ = false;
  std::uint8_t tagVersion_ = 1;
  std::string title_;
  std::string artist_;
  std::string album_;
  std::string year_;
  std::string comment_;
  std::uint8_t track_ = 0;
  std::uint8_t genreNumber_ = 255;
};

}  // namespace plenvox
