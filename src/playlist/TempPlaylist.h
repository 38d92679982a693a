// The temporary playlist that an edit batch hands to the player: either the files to
// add, or the player's playlist without the entries to remove.
//
// The file is created anew (or emptied) at the path given (TempPlaylist). Its first line is "#EXTM3U"
// and every line ends with CR LF. Every create, write and close is checked; a failure
// raises IoError and may leave part of the file behind, which the caller removes.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "playlist/DynamicArray.h"
#include "playlist/PlaylistFile.h"

namespace plenvox {

constexpr const char* kTempPlaylistHeader = "#EXTM3U";

// The numbers of a list of removals, for the question that the filtered copy asks of
// every entry of the playlist: sorted once, then searched, so that k removals from n
// entries cost n log k rather than n times k.
class TRemovalSet {
 public:
  explicit TRemovalSet(const TDynamicArrayI& list);
  // True when number is one of the list's items.
  bool Contains(std::int32_t number) const;

 private:
  std::vector<std::int32_t> sorted_;
};

// One path per line after the header, in the list's order, each written whole. With
// blockDead only the paths that name an existing file (not a folder) are written.
void WriteAdditions(Platform& os, const std::string& path, const TDynamicArray& paths,
                    bool blockDead);

// Every entry of the file bound to playlist except those whose numbers are in removals,
// counted as FindEntry counts them. A kept entry's lines are copied whole, however long;
// an information line travels with its path line. A file that holds more behind the
// Ctrl-Z that ends its reading gives no copy (IoError): the copy would not be whole.
// Nor does a kept entry whose path holds a "?" that no path can hold (the mark of a
// character that the player's ANSI playlist could not write): handed back, it would
// replace the player's own entry with one that names no file. Leaves playlist open.
void WriteFilteredCopy(Platform& os, const std::string& path, PlaylistFile& playlist,
                       const TDynamicArrayI& removals);

// True when the path line holds a "?" where a file's path cannot: anywhere but in the
// "\\?\" prefix of a long path, in a line that is neither a comment ("#...") nor an
// address ("scheme://...").
bool HoldsLostCharacter(const std::string& pathLine);

}  // namespace plenvox
