// The texts of tags as Unicode: UTF-16 in either byte order and UTF-8 taken as they are
// (what does not form a character becomes U+FFFD), 8-bit texts through the code page the
// user set for them, numbers ("3/12") and years taken from texts, and the genre names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/ByteSpan.h"

namespace plenvox {

// How 8-bit tag texts (ID3v1, ID3v2's ISO-8859-1 frames, RIFF INFO and AIFF text chunks)
// become UTF-8: old taggers wrote them in a local code page.
class TTagTextDecoder {
 public:
  virtual ~TTagTextDecoder() = default;
  virtual std::string EightBit(std::string_view bytes) const = 0;
};

// 8-bit texts read as ISO-8859-1, for tools and tests without a code page.
class TLatin1TagText : public TTagTextDecoder {
 public:
  std::string EightBit(std::string_view bytes) const override;
};

// UTF-16 up to the first zero unit; a leading byte-order mark decides the byte order
// (and is dropped), else bigEndian does.
std::string Utf16TagText(ByteSpan bytes, bool bigEndian);
// UTF-8 up to the first zero byte, every byte that forms no character replaced.
std::string Utf8TagText(std::string_view bytes);
// Removes bytes 0x00 to 0x20 at both ends (UTF-8 keeps every other byte as it is).
std::string TrimmedText(std::string text);

// The number at the text's start, as in "3/12" or " 07"; 0 when there is none.
std::uint32_t LeadingNumber(std::string_view text);
// The year of a date ("2019-05-01" → "2019"): its first four characters when they are
// digits, else the whole text.
std::string YearOf(std::string text);

// The genre names by ID3v1 number, 0 to 191, as today's players name them.
inline constexpr std::size_t kNamedGenreCount = 192;
// The name of the genre number, or an empty view beyond the list.
std::string_view NamedGenre(std::size_t number);
// An ID3v2 or Vorbis genre text as players show it: "(17)", "17" and "(17)Rock" name
// the ID3v1 genre's text (or its name), "RX" and "CR" Remix and Cover.
std::string GenreText(const std::string& text);

}  // namespace plenvox
