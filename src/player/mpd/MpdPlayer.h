// The player of the Linux edition: MPD's queue, reached with libmpdclient over the
// local socket or host and port that the settings or MPD_HOST and MPD_PORT name (see
// MpdLocation.h). Each request opens a connection of its own, with the settings' time-out
// for the connect and for every answer, and closes it again.
//
// "Write the playlist" writes the queue into the playlist file that the settings name
// (WinampPlaylist: "winamp.m3u" and, beside it, the "winamp.m3u8" that the Unicode
// entry points read; both UTF-8; read anew for every request, so that settings saved a
// moment ago count at once, as a player writing into its own folder would), each entry's URI joined to MPD's music directory, and
// answers the current position. A request that fails (no daemon, no answer in time, a
// refused command) answers -1; it also removes the playlist files, so that the folder
// shows empty rather than an old queue, and tells the user through the host once,
// unless it follows another failure within the time-out: one action of the user, one
// message.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "player/Host.h"
#include "player/Player.h"

struct mpd_connection;

namespace plenvox {

constexpr const char* kMpdMessageCaption = "Plenvox: MPD";

class MpdPlayer : public Player {
 public:
  MpdPlayer(Platform& os, Host& host) : os_(os), host_(host) {}

  std::int32_t WritePlaylist() override;
  std::int32_t ClearPlaylist() override;
  // MPD's current entry becomes this one, and MPD goes on as it was: playing, paused or
  // stopped.
  std::int32_t SetPlaylistPosition(std::int32_t entry) override;
  void Stop() override;
  void Play() override;
  // Adds the playlist file's entries (one path a line; "#" lines are comments) in their
  // order; an entry that MPD refuses (a file that it cannot play or may not read) is
  // left out, the others are added.
  void AddToPlaylist(const std::string& playlistPath) override;
  // The folder of the settings' playlist is the one written: nothing to report.
  std::optional<std::u16string> PlaylistFolder() override { return std::nullopt; }
  // Takes the removed entries out of the queue by their song ids (as the last write of the
  // playlist found them), in command lists, without clearing it: MPD goes on playing the
  // song that it played, uninterrupted, and when that song itself is removed, the one
  // after it; where MPD itself would stop (after the last song, in single mode, paused),
  // the entry at position goes on as MPD went (playing or paused). An id that MPD no longer
  // has is passed over; the kept playlist is not needed.
  void RemoveEntries(const std::vector<std::int32_t>& removed, const std::string& keptPlaylist,
                     std::int32_t position) override;

 private:
  class Connection;
  friend class Connection;
  using Clock = std::chrono::steady_clock;

  // What MPD's status says of its playing.
  struct TMpdState {
    int Play = 0;  // mpd_state
    int SongId = -1;
    int SongPosition = -1;
    unsigned QueueLength = 0;
  };
  static TMpdState State(mpd_connection* mpd);

  // The connection for one request, or nothing after a failure (reported).
  std::unique_ptr<Connection> Connect();
  // Tells the user, unless a failure was told less than a time-out ago.
  void Report(const std::string& what);
  std::string FailureText(const std::string& address, const std::string& what) const;
  // The queue's files and the current position, or -1 when MPD could not be asked.
  std::int32_t WriteQueue();
  void WriteQueueFiles(const std::string& text);
  void RemoveQueueFiles();
  std::vector<std::string> QueueFilePaths() const;
  std::string QueueFolder() const;

  Platform& os_;
  Host& host_;
  std::chrono::milliseconds timeout_{3000};
  std::optional<Clock::time_point> lastFailure_;
  // The song id of each entry of the queue as the last write of the playlist found it.
  std::vector<unsigned> writtenIds_;
};

}  // namespace plenvox
