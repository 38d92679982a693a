// The temporary playlist that an edit batch hands to the player: either the files to
// add, or the player's playlist without the entries to remove.
//
// The file is created anew (or emptied) at the path given (TempPlaylist). Its first line is "#EXTM3U"
// and every line ends with CR LF. Every create, write and close is checked; a failure
// raises IoError and may leave part of the file behind, which the caller removes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "playlist/DynamicArray.h"
#include "playlist/PlaylistFile.h"

namespace plenvox {

constexpr const char* kTempPlaylistHeader = "#EXTM3U";

// Which entries a filtered copy leaves out. Asked once of every entry, in file order,
// with its number (as FindEntry counts) and its path line as read whole.
class TRemovals {
 public:
  virtual ~TRemovals() = default;
  virtual bool Removes(std::int32_t number, std::string_view pathLine) = 0;
};

// Removals by number, for the question that the filtered copy asks of every entry of the
// playlist: sorted once, then searched, so that k removals from n entries cost n log k
// rather than n times k.
class TRemovalSet : public TRemovals {
 public:
  explicit TRemovalSet(const TDynamicArrayI& list);
  // True when number is one of the list's items.
  bool Contains(std::int32_t number) const;
  bool Removes(std::int32_t number, std::string_view) override { return Contains(number); }

 private:
  std::vector<std::int32_t> sorted_;
};

// Removals by name: the first entry named each of names, matched as FindEntry matches a
// name (the path cut by the name rule of the encoding). A name that no entry has removes
// nothing, and a name given twice removes one entry. Deciding while copying is what
// lets a delete batch read the playlist once, however many names it holds.
class TRemovalNames : public TRemovals {
 public:
  TRemovalNames(const std::vector<std::string>& names, TTextEncoding encoding);
  bool Removes(std::int32_t number, std::string_view pathLine) override;

 private:
  TEntryNumbers names_;     // each distinct name's index
  std::vector<bool> done_;  // by index: its entry has been left out
  TTextEncoding encoding_;
};

// One path per line after the header, in the list's order, each written whole. With
// blockDead only the paths that name an existing file (not a folder) are written. The
// temporary playlist's path and the paths are in the encoding given, the playlist's.
void WriteAdditions(Platform& os, TTextEncoding encoding, const std::string& path,
                    const TDynamicArray& paths, bool blockDead);

// Every entry of the file bound to playlist except those that removals leaves out, in
// one reading, written at path (in the playlist's encoding). A kept entry's lines are
// copied whole, however long; an information line travels with its path line. A file
// that holds more behind the Ctrl-Z that ends its reading gives no copy (IoError): the
// copy would not be whole. Nor does an ANSI playlist, in a code page that lacks
// characters, with a kept entry whose path holds a "?" that no path can hold (the mark
// of a character that the player could not write, LostACharacter): handed back, it
// would replace the player's own entry with one that names no file. Leaves playlist
// open.
void WriteFilteredCopy(Platform& os, const std::string& path, PlaylistFile& playlist,
                       TRemovals& removals);

}  // namespace plenvox
