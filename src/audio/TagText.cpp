#include "audio/TagText.h"

#include <algorithm>

#include "audio/AudioDescription.h"
#include "audio/ID3v1.h"
#include "audio/TagTrim.h"
#include "common/Utf8.h"

namespace plenvox {

namespace {

// The names that players added beyond the format's first 148 genres (Winamp's list).
inline constexpr std::array<std::string_view, kNamedGenreCount - GenreCount> kLaterGenreNames = {
    "Abstract", "Art Rock", "Baroque", "Bhangra", "Big Beat", "Breakbeat", "Chillout",
    "Downtempo", "Dub", "EBM", "Eclectic", "Electro", "Electroclash", "Emo", "Experimental",
    "Garage", "Global", "IDM", "Illbient", "Industro-Goth", "Jam Band", "Krautrock",
    "Leftfield", "Lounge", "Math Rock", "New Romantic", "Nu-Breakz", "Post-Punk", "Post-Rock",
    "Psytrance", "Shoegaze", "Space Rock", "Trop Rock", "World Music", "Neoclassical",
    "Audiobook", "Audio Theatre", "Neue Deutsche Welle", "Podcast", "Indie Rock", "G-Funk",
    "Dubstep", "Garage Rock", "Psybient"};

bool AllDigits(std::string_view text) {
  if (text.empty() || text.size() > 3) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string NameOfNumber(std::string_view digits) {
  std::size_t number = 0;
  for (const char c : digits) number = number * 10 + static_cast<std::size_t>(c - '0');
  return std::string(NamedGenre(number));
}

}  // namespace

void TTagsUtf8::FillFrom(const TTagsUtf8& other) {
  for (auto field : {&TTagsUtf8::Title, &TTagsUtf8::Artist, &TTagsUtf8::Album,
                     &TTagsUtf8::AlbumArtist, &TTagsUtf8::Year, &TTagsUtf8::Genre,
                     &TTagsUtf8::Comment, &TTagsUtf8::Composer}) {
    if ((this->*field).empty()) this->*field = other.*field;
  }
  if (Track == 0) Track = other.Track;
  if (Disc == 0) Disc = other.Disc;
}

std::size_t TTagsUtf8::TextBytes() const {
  return Title.capacity() + Artist.capacity() + Album.capacity() + AlbumArtist.capacity() +
         Year.capacity() + Genre.capacity() + Comment.capacity() + Composer.capacity();
}

std::size_t TAudioDescription::TextBytes() const {
  return Tags.TextBytes() + Picture.Mime.capacity() + Mpeg.Encoder.capacity();
}

void TAudioDescription::OfferPicture(const TPictureLocation& picture) {
  if (HasPicture && (Picture.Type == kPictureTypeFrontCover || picture.Type != kPictureTypeFrontCover)) return;
  HasPicture = true;
  Picture = picture;
}

std::string TLatin1TagText::EightBit(std::string_view bytes) const {
  std::string text;
  for (const char c : bytes) AppendUtf8(text, static_cast<unsigned char>(c));
  return text;
}

std::string Utf16TagText(ByteSpan bytes, bool bigEndian) {
  std::size_t at = 0;
  if (bytes.Has(0, 2) && bytes.At(0) == 0xFE && bytes.At(1) == 0xFF) {
    bigEndian = true;
    at = 2;
  } else if (bytes.Has(0, 2) && bytes.At(0) == 0xFF && bytes.At(1) == 0xFE) {
    bigEndian = false;
    at = 2;
  }
  std::u16string units;
  for (; bytes.Has(at, 2); at += 2) {
    const std::uint8_t first = bytes.At(at);
    const std::uint8_t second = bytes.At(at + 1);
    const auto unit = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    if (unit == 0) break;
    if (unit == u'\uFEFF') continue;  // a repeated byte-order mark
    units += unit;
  }
  return Utf16ToUtf8(units);
}

std::string Utf8TagText(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  return Utf16ToUtf8(Utf8ToUtf16(bytes));
}

std::string TrimmedText(std::string text) { return TrimTag(text); }

std::uint32_t LeadingNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  std::uint64_t number = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    number = number * 10 + static_cast<std::uint64_t>(text[at] - '0');
    if (number > 0xFFFFFFFFu) return 0;
  }
  return static_cast<std::uint32_t>(number);
}

std::string YearOf(std::string text) {
  const bool fourDigits = text.size() > 4 && std::all_of(text.begin(), text.begin() + 4, [](char c) {
                            return c >= '0' && c <= '9';
                          });
  if (fourDigits) text.resize(4);
  return text;
}

std::string_view NamedGenre(std::size_t number) {
  if (number < GenreCount) return GenreNames[number];
  if (number < kNamedGenreCount) return kLaterGenreNames[number - GenreCount];
  return {};
}

std::string GenreText(const std::string& text) {
  if (AllDigits(text)) return NameOfNumber(text);
  if (text == "RX") return "Remix";
  if (text == "CR") return "Cover";
  if (text.size() < 3 || text[0] != '(') return text;
  const auto close = text.find(')');
  if (close == std::string::npos) return text;
  const std::string_view inside = std::string_view(text).substr(1, close - 1);
  const std::string rest = text.substr(close + 1);
  if (!rest.empty()) return rest[0] == '(' ? GenreText(rest) : rest;
  if (AllDigits(inside)) return NameOfNumber(inside);
  return GenreText(std::string(inside));
}

}  // namespace plenvox
