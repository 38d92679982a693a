#include "plugin/EntryPictures.h"

#include <cctype>

#include "playlist/PlaylistFile.h"

namespace plenvox {

namespace {

// The snapshot's entry of the host's name, if any.
const TColumnEntry* EntryOf(Platform& os, const TColumnSnapshot& snapshot,
                            std::string_view hostName, bool wide) {
  const auto name = EntryNameOfHostName(os, hostName, wide, snapshot.Encoding());
  return name ? snapshot.Find(*name) : nullptr;
}

}  // namespace

std::string_view IconCacheName(TEntryIcon icon) {
  switch (icon) {
    case TEntryIcon::Playing: return "PlenvoxFast.playing";
    case TEntryIcon::Missing: return "PlenvoxFast.missing";
    case TEntryIcon::Stream: return "PlenvoxFast.stream";
    default: return {};
  }
}

// A scheme is two or more letters, digits, "+", "-" or "." (one letter would be a drive).
TAddressKind AddressKind(std::string_view path) {
  const auto colon = path.find("://");
  if (colon == std::string_view::npos || colon < 2) return TAddressKind::Path;
  std::string scheme(path.substr(0, colon));
  for (char& c : scheme) {
    const auto letter = static_cast<unsigned char>(c);
    if (!std::isalnum(letter) && c != '+' && c != '-' && c != '.') return TAddressKind::Path;
    c = static_cast<char>(std::tolower(letter));
  }
  return scheme == "file" ? TAddressKind::FileUrl : TAddressKind::Stream;
}

bool EntryPictures::IsPlaying(const TColumnSnapshot& snapshot, const TColumnEntry& entry) {
  std::optional<std::int32_t> playing;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!asked_ || askedGeneration_ != snapshot.Generation()) {
      playing_ = player_.PlayingEntry();
      askedGeneration_ = snapshot.Generation();
      asked_ = true;
    }
    playing = playing_;
  }
  if (!playing) return false;
  const TColumnEntry* played = snapshot.At(static_cast<std::size_t>(*playing));
  return played && played->Path == entry.Path;
}

TEntryIcon EntryPictures::Icon(std::string_view hostName, bool wide, bool mayWait) {
  const auto snapshot = snapshots_.Current();
  const TColumnEntry* entry = EntryOf(os_, *snapshot, hostName, wide);
  if (!entry) return TEntryIcon::Default;
  if (IsPlaying(*snapshot, *entry)) return TEntryIcon::Playing;
  const TAddressKind kind = AddressKind(entry->Path);
  if (kind == TAddressKind::Stream) return TEntryIcon::Stream;
  if (kind == TAddressKind::FileUrl) return TEntryIcon::Default;
  bool found = entry->Found;
  if (!entry->Looked) {
    if (!mayWait) return TEntryIcon::Delayed;
    TFileRecord record;
    // A path with a character that its playlist lost names no file (its "?" would
    // match another file's name).
    const std::string path(entry->Path);
    found = !LostACharacter(os_, snapshot->Encoding(), path) &&
            os_.FindFile(snapshot->Encoding(), path, record);
  }
  return found ? TEntryIcon::Default : TEntryIcon::Missing;
}

std::optional<TCoverPicture> EntryPictures::Cover(std::string_view hostName, bool wide) {
  const auto snapshot = snapshots_.Current();
  const TColumnEntry* entry = EntryOf(os_, *snapshot, hostName, wide);
  if (!entry || AddressKind(entry->Path) != TAddressKind::Path) return std::nullopt;
  return ReadCoverArt(os_, snapshot->Encoding(), std::string(entry->Path));
}

}  // namespace plenvox
