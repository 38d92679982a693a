// Where a container keeps a picture: its bytes' place in the file and what the container
// says of them. The cover finder (picture/) answers one for ID3v2; the description of an
// audio file (AudioDescription.h) keeps one for ID3v2 APIC/PIC, FLAC PICTURE blocks, MP4
// "covr" and ASF WM/Picture (Vorbis and Opus keep theirs in base64: no place of bytes).
#pragma once

#include <cstdint>
#include <string>

namespace plenvox {

constexpr std::uint8_t kPictureTypeFrontCover = 3;

struct TPictureLocation {
  std::int64_t Offset = 0;  // of the picture's first byte in the file
  std::uint32_t Size = 0;   // bytes, all inside the file
  std::uint8_t Type = 0;    // the ID3v2/FLAC picture type
  std::string Mime;         // as the container names the format, possibly empty
  // The bytes are unsynchronised (ID3v2.4): each 0xFF 0x00 stands for 0xFF.
  bool Unsynchronised = false;
};

}  // namespace plenvox
