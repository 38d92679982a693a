#include "plugin/EntryPictures.h"

#include <cctype>

namespace plenvox {

std::string_view IconCacheName(TEntryIcon icon) {
  switch (icon) {
    case TEntryIcon::Playing: return "PlenvoxFast.playing";
    case TEntryIcon::Missing: return "PlenvoxFast.missing";
    case TEntryIcon::Stream: return "PlenvoxFast.stream";
    default: return {};
  }
}

bool IsStreamAddress(std::string_view path) {
  const auto colon = path.find("://");
  if (colon == std::string_view::npos || colon < 2) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  std::string scheme(path.substr(0, colon));
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return scheme != "file";
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
  const TColumnEntry* entry =
      snapshot->Find(EntryNameOfHostName(os_, hostName, wide, snapshot->Encoding()));
  if (!entry) return TEntryIcon::Default;
  if (IsPlaying(*snapshot, *entry)) return TEntryIcon::Playing;
  if (IsStreamAddress(entry->Path)) return TEntryIcon::Stream;
  bool found = entry->Found;
  if (!entry->Looked) {
    if (!mayWait) return TEntryIcon::Delayed;
    TFileRecord record;
    found = os_.FindFileIn(snapshot->Encoding(), std::string(entry->Path), record);
  }
  return found ? TEntryIcon::Default : TEntryIcon::Missing;
}

std::optional<TCoverPicture> EntryPictures::Cover(std::string_view hostName, bool wide) {
  const auto snapshot = snapshots_.Current();
  const TColumnEntry* entry =
      snapshot->Find(EntryNameOfHostName(os_, hostName, wide, snapshot->Encoding()));
  if (!entry || IsStreamAddress(entry->Path)) return std::nullopt;
  return ReadCoverArt(os_, snapshot->Encoding(), std::string(entry->Path));
}

}  // namespace plenvox
