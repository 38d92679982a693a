// What the content columns need of the playlist, as the last listing of the root saw it:
// each entry's position, path and "#EXTINF:" line, and the file's record where the
// listing looked the file up. The host asks for column values on its own thread and on a
// background thread while the main thread lists or edits, so the columns never touch the
// playlist handle.
//
// The listing keeps only what it has anyway, so that it costs what it cost without the
// columns: the playlist file's path and encoding, and in display modes 1 and 2, where
// every entry costs a file look-up already, the look-up's result per entry number. Mode 0
// keeps nothing per entry. At its end it publishes that in one swap under a lock. The
// entries themselves (positions, paths, "#EXTINF:" lines, the name index) are built by
// the columns on the first value asked after a publish: they read the playlist file with
// a handle of their own, in the published encoding, and join the listing's look-ups by
// entry number when the file is as the listing read it (same record, same count of
// entries); otherwise the columns look the files up themselves. A published snapshot
// never changes once built; a reader holds it for as long as it uses it.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextEncoding.h"
#include "platform/FindData.h"
#include "platform/Platform.h"
#include "playlist/PlaylistFile.h"

namespace plenvox {

// The texts point into their snapshot's storage.
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

// One file look-up of the listing, by entry number.
struct TListedLookup {
  bool Found = false;
  std::uint32_t FileSizeHigh = 0;
  std::uint32_t FileSizeLow = 0;
  TFileTime LastWriteTime{};
};

// The entries of a playlist file as the columns read it, with their name index.
class TColumnEntries {
 public:
  explicit TColumnEntries(TTextEncoding encoding) : encoding_(encoding) {}

  // The next entry, from its path and its information line (empty when it has none).
  // Its texts are set when the entries are sealed.
  void Add(const std::string& path, const std::string& infoLine);
  // The listing's look-ups, one per entry in order.
  void Join(const std::vector<TListedLookup>& lookups);
  // Makes the entries' texts point into the storage, which no longer grows.
  void Seal();

  std::size_t Size() const { return entries_.size(); }
  // The first entry named name (the entry's path as the host's record shows it, in the
  // entries' encoding), or nothing. Once sealed.
  const TColumnEntry* Find(std::string_view name) const;
  // The entry at index (from 0, in playlist order), or nothing beyond the last.
  const TColumnEntry* At(std::size_t index) const {
    return index < entries_.size() ? &entries_[index] : nullptr;
  }

 private:
  // Where an entry's texts lie in text_ while the entries are read: one storage for all
  // of them, rather than an allocation each.
  struct Texts {
    std::size_t Path, PathSize, Title, TitleSize;
  };

  TTextEncoding encoding_;
  std::deque<TColumnEntry> entries_;
  std::vector<Texts> texts_;
  std::string text_;
  TEntryNumbers numbers_;  // the names' first entries, numbered from 0
};

class TColumnSnapshot {
 public:
  // A snapshot of no playlist (before the first listing) has no entries.
  TColumnSnapshot(TTextEncoding encoding, std::uint64_t generation)
      : encoding_(encoding), generation_(generation) {}

  TTextEncoding Encoding() const { return encoding_; }
  // Counts the snapshots that a front end published; a new listing makes a new one.
  std::uint64_t Generation() const { return generation_; }

  // What a listing keeps while it runs, before the snapshot is published:
  // the playlist file that it reads, and that file's record when it looks files up;
  void ListPlaylist(const std::string& path, const TFileRecord* record);
  // the result of the look-up of the next entry's file: its record, or nothing when the
  // file was not found.
  void Looked(const TFileRecord* file);
  std::size_t LookupCount() const { return lookups_.size(); }
  void ReserveLookups(std::size_t count) { lookups_.reserve(count); }

  // Reads the playlist file and builds the entries, once: the first caller builds them,
  // the others wait for it. A playlist that cannot be read keeps the entries read before.
  void Build(Platform& os) const;

  // Once built:
  std::size_t Size() const { return entries_ ? entries_->Size() : 0; }
  const TColumnEntry* Find(std::string_view name) const {
    return entries_ ? entries_->Find(name) : nullptr;
  }
  const TColumnEntry* At(std::size_t index) const { return entries_ ? entries_->At(index) : nullptr; }

 private:
  void Read(Platform& os, TColumnEntries& entries) const;
  // Whether the playlist file still has the record that the listing saw.
  bool Unchanged(Platform& os) const;

  TTextEncoding encoding_;
  std::uint64_t generation_;
  std::string playlist_;  // empty: no playlist
  bool hasRecord_ = false;
  TFileRecord record_;
  std::vector<TListedLookup> lookups_;
  mutable std::mutex buildMutex_;
  mutable std::atomic<bool> built_{false};
  mutable std::unique_ptr<const TColumnEntries> entries_;  // set once, under buildMutex_
};

// The entry name (the path, in encoding) of an item's remote name as the host hands it
// ("\" and the entry; wide: UTF-16 in the bytes of the string), converted by the
// platform's stateless conversions, never through the settings' encoding; nothing for a
// wide name that the encoding (the ANSI code page) cannot hold exactly, which no entry
// has (never its look-alike).
std::optional<std::string> EntryNameOfHostName(Platform& os, std::string_view hostName, bool wide,
                                               TTextEncoding encoding);
// UTF-16 text from the bytes of its units, and back.
std::u16string WideOfBytes(std::string_view bytes);
std::string_view BytesOfWide(const std::u16string& text);

// The length and title of an "#EXTINF:" line: "#EXTINF:205,Artist - Title". A length
// that is not a number, or is negative (the player writes -1 for "not known"), is none.
// The title is a view into line.
void ParseInfoLine(std::string_view line, TColumnEntry& entry);

// The snapshot being kept by a listing and the one published last.
class ColumnSnapshots {
 public:
  explicit ColumnSnapshots(Platform& os) : os_(os) {}

  // A listing of the root starts, of the playlist file at path in the encoding of its
  // names; looksUp: it looks every entry's file up (display modes 1 and 2).
  void Begin(const std::string& path, TTextEncoding encoding, bool looksUp);
  // The result of the listing's look-up of the next entry's file (nothing: not found);
  // nothing outside a listing.
  void Looked(const TFileRecord* file) {
    if (building_) building_->Looked(file);
  }
  // The listing ended (or stopped): what it kept replaces the published snapshot.
  void Publish();
  // The published snapshot, its entries built; an empty one before the first listing.
  std::shared_ptr<const TColumnSnapshot> Current() const;
  // The generation of the published snapshot, read without the lock.
  std::uint64_t PublishedGeneration() const { return published_; }

 private:
  Platform& os_;
  std::unique_ptr<TColumnSnapshot> building_;
  std::uint64_t generation_ = 0;
  std::atomic<std::uint64_t> published_{0};
  mutable std::mutex mutex_;
  std::shared_ptr<const TColumnSnapshot> current_ =
      std::make_shared<TColumnSnapshot>(TTextEncoding::Ansi, 0);
};

}  // namespace plenvox
