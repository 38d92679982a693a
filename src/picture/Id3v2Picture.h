// The pictures of an ID3v2 tag: APIC frames (versions 3 and 4) and PIC frames (version
// 2), the front cover among them. Only where the picture's bytes lie is found here; they
// are read once, by the caller, so that a large picture is never read twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "audio/ByteSpan.h"
#include "audio/PictureLocation.h"

namespace plenvox {

class AudioFileReader;

// What precedes the picture in an APIC or PIC frame's data.
struct TId3v2PictureHeader {
  std::size_t DataStart = 0;  // bytes before the picture
  std::uint8_t Type = 0;      // 3: front cover
  std::string Mime;           // APIC: the MIME type ("image/jpeg"); PIC: the format ("JPG")
};

// The header at the start of a picture frame's data (threeLetter: a PIC frame): the text
// encoding, the MIME type up to its zero byte (PIC: three letters), the picture type and
// the description up to its terminator (two zero bytes on a two-byte boundary in the
// UTF-16 encodings 1 and 2, else one). Nothing when the data ends before the picture
// (or right at it) or the picture is a link (MIME "-->").
std::optional<TId3v2PictureHeader> ParseId3v2PictureHeader(ByteSpan data, bool threeLetter);

// Where the tag at the file's start keeps its front cover (picture type 3), else its
// first picture; nothing without a tag or a usable picture. A frame whose declared size
// reaches beyond the tag or the file, or that is compressed or encrypted, is not used;
// in a version 3 tag that is unsynchronised as a whole none is.
std::optional<TPictureLocation> FindId3v2Picture(AudioFileReader& file);

}  // namespace plenvox
