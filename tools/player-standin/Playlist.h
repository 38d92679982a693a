// The stand-in player's playlist: entries in order and the current position, read from
// and written to M3U files the way the player writes its own: "#EXTM3U", then per
// entry an "#EXTINF:" line and the path, each line ending with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plenvox::e2e {

struct PlaylistEntry {
  std::string Info;  // what follows "#EXTINF:" (seconds, title)
  std::string Path;
};

class Playlist {
 public:
  // Appends the entries of an M3U file: each "#EXTINF:" line gives the information of
  // the path after it; other lines starting with "#" and empty lines are skipped.
  // Returns the number of entries appended, or -1 when the file cannot be read.
  int AppendFile(const std::string& path);
  // Writes the whole playlist; false when the file cannot be written.
  bool WriteFile(const std::string& path) const;
  void Clear();

  const std::vector<PlaylistEntry>& Entries() const { return entries_; }
  std::int32_t Position() const { return position_; }
  void SetPosition(std::int32_t position) { position_ = position; }

 private:
  std::vector<PlaylistEntry> entries_;
  std::int32_t position_ = 0;
};

}  // namespace plenvox::e2e
