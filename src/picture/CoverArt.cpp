#include "picture/CoverArt.h"

#include <iterator>

#include "audio/AudioFileReader.h"
#include "common/Path.h"
#include "picture/Id3v2Picture.h"

namespace plenvox {

namespace {

using PictureFinder = std::optional<TPictureLocation> (*)(AudioFileReader&);

// Each container that can carry a picture, asked in this order.
constexpr PictureFinder kPictureFinders[] = {&FindId3v2Picture};

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

std::optional<TPictureLocation> FindEmbeddedPicture(AudioFileReader& file) {
  for (const PictureFinder find : kPictureFinders) {
    if (auto location = find(file)) return location;
  }
  return std::nullopt;
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
    if (const auto location = FindEmbeddedPicture(file)) picture = ReadPictureAt(file, *location);
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
