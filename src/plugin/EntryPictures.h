// The pictures of the folder's items: the icon that tells an entry's state (the entry the
// player plays, one whose file is missing, a stream address; every other entry keeps the
// host's icon for its file type) and the entry's cover for the host's thumbnail view.
//
// Threads. The host asks on its own thread and on a background thread while its own
// thread may list or edit, so both come only from what is safe to share, as the content
// columns' values do (Columns.h): the published snapshot of the last listing, the
// platform's file look-up and open in the snapshot's encoding, and the player's answer,
// asked once per published listing and kept under a lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "picture/CoverArt.h"
#include "platform/Platform.h"
#include "player/Player.h"
#include "plugin/ColumnSnapshot.h"

namespace plenvox {

enum class TEntryIcon {
  Default,  // the host's own icon for the file's type
  Delayed,  // the answer needs the disk: ask again from the background thread
  Playing,
  Missing,
  Stream,
};

// The name under which the host caches each of the plug-in's icons (empty for the others).
std::string_view IconCacheName(TEntryIcon icon);

// What an entry's path is: a file's path, a stream's address ("scheme://...") or a
// file's URL ("file://...", which names a file as the player reads it, not as the
// platform looks it up).
enum class TAddressKind { Path, Stream, FileUrl };
TAddressKind AddressKind(std::string_view path);

class EntryPictures {
 public:
  EntryPictures(Platform& os, ColumnSnapshots& snapshots, Player& player)
      : os_(os), snapshots_(snapshots), player_(player) {}

  // The icon of the item of the remote name in the host's form (wide: UTF-16 in the
  // bytes of the string). Not from the background (mayWait false): a look-up of the file
  // that the listing did not make is put off (Delayed).
  TEntryIcon Icon(std::string_view hostName, bool wide, bool mayWait);
  // The cover of the item's file (CoverArt.h); nothing for a stream, a missing file, a
  // file without one, or a name that is no entry of the last listing.
  std::optional<TCoverPicture> Cover(std::string_view hostName, bool wide);

 private:
  // Whether entry is the one that the player played when the snapshot was published
  // (or, for a later snapshot, when first asked after it): by path, so that every entry
  // of the same file shows it.
  bool IsPlaying(const TColumnSnapshot& snapshot, const TColumnEntry& entry);

  Platform& os_;
  ColumnSnapshots& snapshots_;
  Player& player_;
  std::mutex mutex_;  // guards the two below
  std::uint64_t askedGeneration_ = 0;
  bool asked_ = false;
  std::optional<std::int32_t> playing_;
};

}  // namespace plenvox
