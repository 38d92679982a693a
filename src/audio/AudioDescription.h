// One description of an audio file whatever its format: what it is, how long it plays,
// its audio properties and its tags as Unicode text (UTF-8), made by the reader that
// recognised the file by its first bytes. The content columns, the listing and the
// analysis cache know files only through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/PictureLocation.h"

namespace plenvox {

// The tags that every format's reader fills, all texts in UTF-8; numbers 0 when absent.
struct TTagsUtf8 {
  std::string Title;
  std::string Artist;
  std::string Album;
  std::string AlbumArtist;
  std::string Year;
  std::string Genre;
  std::string Comment;
  std::string Composer;
  std::uint32_t Track = 0;
  std::uint32_t Disc = 0;

  // Takes each field that this one lacks from other (a format's second tag).
  void FillFrom(const TTagsUtf8& other);
  std::size_t TextBytes() const;
};

// What only MPEG audio has: the first frame's version, layer and channel-mode codes (as
// the MPEG analyser names them, audio/MPEGaudio.h), the VBR header and the encoder's name.
struct TMpegDetails {
  bool Present = false;
  std::uint8_t VersionCode = 1;
  std::uint8_t LayerCode = 0;
  std::uint8_t ModeCode = 4;
  bool Vbr = false;
  std::string Encoder;
};

// The names that the Format field shows.
namespace format {
inline constexpr std::string_view kMp1 = "MP1";
inline constexpr std::string_view kMp2 = "MP2";
inline constexpr std::string_view kMp3 = "MP3";
inline constexpr std::string_view kFlac = "FLAC";
inline constexpr std::string_view kVorbis = "Vorbis";
inline constexpr std::string_view kOpus = "Opus";
inline constexpr std::string_view kAac = "AAC";
inline constexpr std::string_view kAlac = "ALAC";
inline constexpr std::string_view kWav = "WAV";
inline constexpr std::string_view kAiff = "AIFF";
inline constexpr std::string_view kWma = "WMA";
}  // namespace format

struct TAudioDescription {
  // One of the names above; empty when no reader found audio in the file (its tags may
  // still have been read).
  std::string_view Format;
  double PlayTime = 0;         // seconds
  std::uint32_t BitRate = 0;   // kbit/s, the average
  std::uint32_t SampleRate = 0;
  std::uint16_t Channels = 0;
  std::uint16_t BitsPerSample = 0;  // where the format has them
  TTagsUtf8 Tags;
  bool HasPicture = false;
  TPictureLocation Picture;  // the front cover, else the first; Size 0: no place known
  TMpegDetails Mpeg;

  // The heap bytes its texts hold.
  std::size_t TextBytes() const;
  // Keeps a picture: the first one, replaced only by a front cover.
  void OfferPicture(const TPictureLocation& picture);
};

}  // namespace plenvox
