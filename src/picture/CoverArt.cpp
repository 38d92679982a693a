#include "picture/CoverArt.h"

#include <cstddef>
#include <iterator>

#include "audio/AudioFileReader.h"
#include "audio/FlacStructures.h"
#include "audio/FormatReaders.h"
#include "common/Path.h"
#include "picture/Id3v2Picture.h"

namespace plenvox {

namespace {

using PictureFinder = std::optional<TPictureLocation> (*)(AudioFileReader&, const TEncodedPictureSink*);

std::optional<TPictureLocation> FindTagPicture(AudioFileReader& file, const TEncodedPictureSink*) {
  return FindId3v2Picture(file);
}

// The picture whose place the reader of the file's container (FLAC, MP4, ASF, the ID3v2
// chunk of WAV and AIFF) keeps in its description: the front cover, else the
// first; nothing for a place outside the file. Pictures kept in comments go to pictures.
// The tags' texts are not wanted here.
std::optional<TPictureLocation> FindContainerPicture(AudioFileReader& file, const TEncodedPictureSink* pictures) {
  const TLatin1TagText text;
  TAudioDescription description;
  TFormatReading reading{file, text, description, pictures};
  if (!ReadContainer(reading).has_value() || !description.HasPicture) return std::nullopt;
  const TPictureLocation& picture = description.Picture;
  if (picture.Size == 0 || picture.Offset <= 0 || picture.Offset > file.Length() - std::int64_t{picture.Size}) {
    return std::nullopt;
  }
  return picture;
}

// Each container that can carry a picture, asked in this order.
constexpr PictureFinder kPictureFinders[] = {&FindTagPicture, &FindContainerPicture};

std::optional<TCoverPicture> Checked(std::vector<std::uint8_t> bytes, TCoverSource source) {
  const std::optional<TImageInfo> info = SniffImage(ByteSpan(bytes));
  if (!info) return std::nullopt;
  return TCoverPicture{std::move(bytes), *info, source};
}

// The whole file, when it is no larger than a picture may be.
std::optional<TCoverPicture> ReadFolderPicture(Platform& os, TTextEncoding encoding,
                                               const std::string& path) {
  std::optional<TCoverPicture> picture;
  bool closed = false;
  ReadOpenFile(os, encoding, path, [&](AudioFileReader& file) {
    if (file.Length() <= 0 || file.Length() > kPictureBytesMax) return false;
    const auto size = static_cast<std::size_t>(file.Length());
    ByteSpan bytes;
    if (!file.Fetch(0, size, bytes) || bytes.size() != size) return false;
    picture = Checked(std::vector<std::uint8_t>(bytes.data(), bytes.data() + size), TCoverSource::Folder);
    return true;
  }, closed);
  return picture;
}

}  // namespace

const char* const kFolderPictureNames[9] = {"cover.jpg",  "cover.jpeg",  "cover.png",
                                            "folder.jpg", "folder.jpeg", "folder.png",
                                            "front.jpg",  "front.jpeg",  "front.png"};

std::optional<TPictureLocation> FindEmbeddedPicture(AudioFileReader& file, const TEncodedPictureSink* pictures) {
  for (const PictureFinder find : kPictureFinders) {
    if (auto location = find(file, pictures)) return location;
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> DecodedBase64(std::string_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int count = 0;
  std::size_t padding = 0;
  for (const char c : text) {
    int value = -1;
    if (c >= 'A' && c <= 'Z') value = c - 'A';
    else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
    else if (c >= '0' && c <= '9') value = c - '0' + 52;
    else if (c == '+') value = 62;
    else if (c == '/') value = 63;
    else if (c == '=') { ++padding; continue; }
    if (value < 0 || padding > 0) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      out.push_back(static_cast<std::uint8_t>(bits >> 16));
      out.push_back(static_cast<std::uint8_t>(bits >> 8));
      out.push_back(static_cast<std::uint8_t>(bits));
      bits = 0, count = 0;
    }
  }
  if (count == 1 || padding > 2 || (padding > 0 && count == 0)) return std::nullopt;
  if (count >= 2) out.push_back(static_cast<std::uint8_t>(bits >> (count == 2 ? 4 : 10)));
  if (count == 3) out.push_back(static_cast<std::uint8_t>(bits >> 2));
  return out;
}

void TCommentPictures::Offer(std::string_view encoded) {
  if (front_ || encoded.size() > kPictureCommentMax) return;
  const auto block = DecodedBase64(encoded);
  if (!block) return;
  const TPictureLocation at = ParseFlacPicture(ByteSpan(*block), 0);
  const bool inside = at.Size > 0 && at.Size <= kPictureBytesMax && at.Offset > 0 &&
                      static_cast<std::uint64_t>(at.Offset) + at.Size <= block->size();
  if (!inside || (picture_ && at.Type != kPictureTypeFrontCover)) return;
  // Both lie within the block, whose size the address space holds.
  const auto first = block->begin() + static_cast<std::ptrdiff_t>(at.Offset);
  const auto last = first + static_cast<std::ptrdiff_t>(at.Size);
  auto picture = Checked(std::vector<std::uint8_t>(first, last), TCoverSource::Embedded);
  if (!picture) return;
  picture_ = std::move(picture);
  front_ = at.Type == kPictureTypeFrontCover;
}

std::optional<TCoverPicture> ReadEmbeddedPicture(AudioFileReader& file) {
  TCommentPictures comments;
  const TEncodedPictureSink sink = [&comments](std::string_view encoded) { comments.Offer(encoded); };
  if (const auto location = FindEmbeddedPicture(file, &sink)) return ReadPictureAt(file, *location);
  return comments.Picture();
}

std::vector<std::uint8_t> Resynchronised(ByteSpan bytes) {
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    out.push_back(bytes.At(at));
    if (bytes.At(at) == 0xFF && at + 1 < bytes.size() && bytes.At(at + 1) == 0x00) ++at;
  }
  return out;
}

std::optional<TCoverPicture> ReadPictureAt(AudioFileReader& file, const TPictureLocation& location) {
  if (location.Size == 0 || location.Size > kPictureBytesMax) return std::nullopt;
  if (location.Offset < 0 || location.Offset + std::int64_t{location.Size} > file.Length()) {
    return std::nullopt;
  }
  ByteSpan bytes;
  if (!file.Fetch(location.Offset, location.Size, bytes)) return std::nullopt;
  bytes = bytes.Sub(0, location.Size);
  if (bytes.size() != location.Size) return std::nullopt;
  if (location.Unsynchronised) return Checked(Resynchronised(bytes), TCoverSource::Embedded);
  return Checked(std::vector<std::uint8_t>(bytes.data(), bytes.data() + bytes.size()),
                 TCoverSource::Embedded);
}

std::optional<TCoverPicture> ReadCoverArt(Platform& os, TTextEncoding encoding, const std::string& path) {
  std::optional<TCoverPicture> picture;
  bool closed = false;
  // A file that cannot be opened (a missing one) has no cover, whatever its folder holds.
  const bool opened = ReadOpenFile(os, encoding, path, [&](AudioFileReader& file) {
    picture = ReadEmbeddedPicture(file);
    return true;
  }, closed);
  if (!opened || picture) return picture;
  const std::string folder = FolderOf(path);
  if (folder.empty()) return std::nullopt;
  for (const char* name : kFolderPictureNames) {
    // The folder ends with its separator already.
    const std::string candidate = folder + name;
    TFileRecord record;
    if (!os.FindFile(encoding, candidate, record)) continue;
    if ((picture = ReadFolderPicture(os, encoding, candidate))) return picture;
  }
  return std::nullopt;
}

}  // namespace plenvox
