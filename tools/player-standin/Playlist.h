// The stand-in player's playlist: entries in order and the current position, read from
// and written to M3U files the way the player writes its own: "#EXTM3U", then per
// entry an "#EXTINF:" line and the path, each line ending with CR LF. The old player
// holds its entries as the bytes of its ANSI files; the Unicode player as UTF-8,
// converting what it reads from and writes to ANSI files.
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
  explicit Playlist(bool unicode) : unicode_(unicode) {}

  // Appends the entries of an M3U file (UTF-8 when utf8File): each "#EXTINF:" line gives
  // the information of the path after it; other lines starting with "#" and empty lines
  // are skipped. Returns the number of entries appended, or -1 when the file cannot be
  // read.
  int AppendFile(const std::wstring& path, bool utf8File);
  // Writes the whole playlist (in UTF-8 when utf8File); false when it cannot be written.
  bool WriteFile(const std::wstring& path, bool utf8File) const;
  void Clear();

  const std::vector<PlaylistEntry>& Entries() const { return entries_; }
  std::int32_t Position() const { return position_; }
  void SetPosition(std::int32_t position) { position_ = position; }

 private:
  std::string FromFile(const std::string& line, bool utf8File) const;
  std::string ToFile(const std::string& text, bool utf8File) const;

  bool unicode_;
  std::vector<PlaylistEntry> entries_;
  std::int32_t position_ = 0;
};

}  // namespace plenvox::e2e
