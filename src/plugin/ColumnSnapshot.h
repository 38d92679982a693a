// What the content columns need of the playlist, as the last listing of the root saw it:
// each entry's position, path and "#EXTINF:" line, and the file's record where the
// listing looked the file up. The host asks for column values on its own thread and on a
// background thread while the main thread lists or edits, so the columns never touch the
// playlist handle: the listing builds a snapshot on the host's thread and, at its end,
// publishes it in one swap under a lock. A published snapshot never changes; a reader
// holds it for as long as it uses it.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextEncoding.h"
#include "platform/FindData.h"
#include "playlist/PlaylistFile.h"

namespace plenvox {

// The texts point into their snapshot's storage, valid once it is published.
struct TColumnEntry {
  std::int32_t Position = 0;   // 1-based, in playlist order
  std::string_view Path;       // whole, in the snapshot's encoding
  bool HasInfoLength = false;  // the "#EXTINF:" line gives a length of 0 or more
  std::int32_t InfoLength = 0;  // seconds
  std::string_view InfoTitle;   // behind the line's first comma, in the snapshot's encoding
  bool Looked = false;  // the listing looked the file up (display modes 1 and 2)
  bool Found = false;   // and found it
  // What it found: the fields that the columns and the analysis cache read.
  std::uint32_t FileSizeHigh = 0;
  std::uint32_t FileSizeLow = 0;
  TFileTime LastWriteTime{};

  TFileRecord File() const;
};

class TColumnSnapshot {
 public:
  TColumnSnapshot(TTextEncoding encoding, std::uint64_t generation)
      : encoding_(encoding), generation_(generation) {}

  TTextEncoding Encoding() const { return encoding_; }
  // Counts the snapshots that a front end published; a new listing makes a new one.
  std::uint64_t Generation() const { return generation_; }
  std::size_t Size() const { return entries_.size(); }

  // The first entry named name (the entry's path as the host's record shows it, in the
  // snapshot's encoding), or nothing. Once published.
  const TColumnEntry* Find(std::string_view name) const;
  // The next entry, from its path and its information line (empty when it has none).
  // Its texts are set when the snapshot is sealed.
  TColumnEntry& Add(const std::string& path, const std::string& infoLine);
  // Makes the entries' texts point into the storage, which no longer grows.
  void Seal();

 private:
  // Where an entry's texts lie in text_ while the snapshot is built: one storage for all
  // of them, rather than an allocation each, so that the listing stays as fast.
  struct Texts {
    std::size_t Path, PathSize, Title, TitleSize;
  };

  TTextEncoding encoding_;
  std::uint64_t generation_;
  std::deque<TColumnEntry> entries_;
  std::vector<Texts> texts_;
  std::string text_;
  TEntryNumbers numbers_;  // the names' first entries, numbered from 0
};

// The length and title of an "#EXTINF:" line: "#EXTINF:205,Artist - Title". A length
// that is not a number, or is negative (the player writes -1 for "not known"), is none.
// The title is a view into line.
void ParseInfoLine(std::string_view line, TColumnEntry& entry);

// The snapshot being built by a listing and the one published last.
class ColumnSnapshots {
 public:
  // A listing of the root starts: a new snapshot in the encoding of its names.
  void Begin(TTextEncoding encoding);
  // The next entry of the listing being built; nothing outside a listing.
  TColumnEntry* Add(const std::string& path, const std::string& infoLine);
  // The listing ended (or stopped): what it built replaces the published snapshot.
  void Publish();
  // The published snapshot; an empty one before the first listing.
  std::shared_ptr<const TColumnSnapshot> Current() const;
  // The generation of the published snapshot, read without the lock.
  std::uint64_t PublishedGeneration() const { return published_; }

 private:
  std::unique_ptr<TColumnSnapshot> building_;
  std::uint64_t generation_ = 0;
  std::atomic<std::uint64_t> published_{0};
  mutable std::mutex mutex_;
  std::shared_ptr<const TColumnSnapshot> current_ =
      std::make_shared<TColumnSnapshot>(TTextEncoding::Ansi, 0);
};

}  // namespace plenvox
