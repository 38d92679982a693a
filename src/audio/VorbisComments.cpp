#include <algorithm>
#include <cctype>

#include "audio/FormatReaders.h"
#include "audio/LittleEndian.h"

namespace plenvox {

namespace {

// The case-blind comparison of a field's name with an upper-case name.
bool NameIs(std::string_view name, std::string_view upper) {
  return name.size() == upper.size() &&
         std::equal(name.begin(), name.end(), upper.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == b;
         });
}

void Keep(std::string& field, std::string_view value) {
  if (field.empty()) field = TrimmedText(Utf8TagText(value));
}

}  // namespace

void ParseVorbisComments(ByteSpan block, TAudioDescription& description) {
  TTagsUtf8& tags = description.Tags;
  const std::uint32_t vendorLength = LittleEndian32(block, 0);
  if (!block.Has(4, vendorLength)) return;
  std::size_t at = 4 + std::size_t{vendorLength};
  if (!block.Has(at, 4)) return;
  const std::uint32_t count = LittleEndian32(block, at);
  at += 4;
  for (std::uint32_t i = 0; i < count && block.Has(at, 4); ++i) {
    const std::uint32_t length = LittleEndian32(block, at);
    if (!block.Has(at + 4, length)) return;
    const std::string_view field = block.Text(at + 4, length);
    at += 4 + std::size_t{length};
    const auto equals = field.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = field.substr(0, equals);
    const std::string_view value = field.substr(equals + 1);
    if (NameIs(name, "TITLE")) Keep(tags.Title, value);
    else if (NameIs(name, "ARTIST")) Keep(tags.Artist, value);
    else if (NameIs(name, "ALBUM")) Keep(tags.Album, value);
    else if (NameIs(name, "ALBUMARTIST") || NameIs(name, "ALBUM ARTIST")) Keep(tags.AlbumArtist, value);
    else if (NameIs(name, "DATE") || NameIs(name, "YEAR")) {
      if (tags.Year.empty()) tags.Year = YearOf(TrimmedText(Utf8TagText(value)));
    } else if (NameIs(name, "GENRE")) Keep(tags.Genre, value);
    else if (NameIs(name, "COMMENT") || NameIs(name, "DESCRIPTION")) Keep(tags.Comment, value);
    else if (NameIs(name, "COMPOSER")) Keep(tags.Composer, value);
    else if (NameIs(name, "TRACKNUMBER")) {
      if (tags.Track == 0) tags.Track = LeadingNumber(value);
    } else if (NameIs(name, "DISCNUMBER")) {
      if (tags.Disc == 0) tags.Disc = LeadingNumber(value);
    } else if (NameIs(name, "METADATA_BLOCK_PICTURE") || NameIs(name, "COVERART")) {
      description.HasPicture = true;
    }
  }
}

void SetLength(TAudioDescription& description, double samples, double rate, std::int64_t audioBytes) {
  if (!(rate > 0) || !(samples > 0)) return;
  description.PlayTime = samples / rate;
  if (description.BitRate == 0 && audioBytes > 0) {
    description.BitRate = static_cast<std::uint32_t>(
        std::min(static_cast<double>(audioBytes) * 8 / description.PlayTime / 1000 + 0.5, 4.0e9));
  }
}

}  // namespace plenvox
