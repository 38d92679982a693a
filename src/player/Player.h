// What the front end asks of a player. The plug-in holds no playlist of its own: it
// has the player write its playlist to the file that the listing reads, and hands it
// changes as a playlist file to load. Each request finds the player and starts it
// first when it is not running; one that cannot reach the player does nothing and
// answers -1. Which player it is (the window-message player of the Windows editions,
// a fake in the tests) the front end never knows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plenvox {

class Player {
 public:
  virtual ~Player() = default;

  // The player writes its current playlist to its playlist file and answers its
  // current position (the entry number that it plays or would play next).
  virtual std::int32_t WritePlaylist() = 0;
  // The player's playlist becomes empty.
  virtual std::int32_t ClearPlaylist() = 0;
  // The entry with this number becomes the current one; sent as given, also -1.
  virtual std::int32_t SetPlaylistPosition(std::int32_t entry) = 0;
  virtual void Stop() = 0;
  virtual void Play() = 0;
  // The player appends the entries of the playlist file at playlistPath.
  virtual void AddToPlaylist(const std::string& playlistPath) = 0;
  // The folder that holds the playlist file that WritePlaylist writes, as the running
  // player tells it (in UTF-16, whatever encoding the caller works in); nothing when it
  // cannot tell. Unlike the requests above it starts no player: it is asked right after
  // one of them, which has started it.
  virtual std::optional<std::u16string> PlaylistFolder() = 0;
  // The number (from 0) of the entry that the running player plays or holds paused;
  // nothing when it is stopped, not running, or cannot tell. Starts no player.
  virtual std::optional<std::int32_t> PlayingEntry() { return std::nullopt; }

  // The end of a delete batch: the entries with the numbers in removed (ascending, as
  // numbered in the playlist that the last WritePlaylist wrote) leave the playlist,
  // whose other entries keptPlaylist holds in order; position is the number, among the
  // kept entries, of the one that is to be current (the same song as before, or the one
  // that followed a removed current entry). A player that cannot take entries out one by
  // one is cleared, reloaded from keptPlaylist and set to position; one that can (MPD)
  // takes them out and goes on playing what it played.
  virtual void RemoveEntries(const std::vector<std::int32_t>& /*removed*/,
                             const std::string& keptPlaylist, std::int32_t position) {
    ClearPlaylist();
    WritePlaylist();
    AddToPlaylist(keptPlaylist);
    SetPlaylistPosition(position);
  }
};

}  // namespace plenvox
