// The player of the Windows editions: found by its window class, commanded by window
// messages, started and handed playlists through its program's command line ("/ADD").
// Stateless: the window is looked up anew for every request.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "player/Player.h"

namespace plenvox {

constexpr const char* kPlayerWindowClass = "Winamp v1.x";

constexpr std::uint32_t kWmUser = 1024;
constexpr std::uint32_t kWmCommand = 273;

// lParam codes of the player's WM_USER requests.
constexpr std::int32_t kPlayerWritePlaylist = 120;
constexpr std::int32_t kPlayerClearPlaylist = 101;
constexpr std::int32_t kPlayerSetPosition = 121;
// Whether the player plays (answer 1), holds paused (3) or is stopped (0); and its
// current position (from 0).
constexpr std::int32_t kPlayerPlayingStatus = 104;
constexpr std::int32_t kPlayerListPosition = 125;
constexpr std::int32_t kPlayerStatusPlaying = 1;
constexpr std::int32_t kPlayerStatusPaused = 3;
// The folder of the playlist file, answered as a pointer into the player's process to
// ANSI or to UTF-16 text; an answer below 65536 means that the player does not know it.
constexpr std::int32_t kPlayerPlaylistFolder = 337;
constexpr std::int32_t kPlayerPlaylistFolderW = 338;
// wParam codes of the player's buttons (WM_COMMAND).
constexpr std::int32_t kPlayerButtonStop = 40047;
constexpr std::int32_t kPlayerButtonPlay = 40045;

constexpr const char* kAddSwitch = " /ADD ";

// The path as it goes on a command line: in quotation marks when it holds a blank.
std::string CommandLinePath(const std::string& path);

// The address that an answer points to, or nothing for an answer that says "not known".
std::optional<std::uintptr_t> PlayerMemoryAddress(std::intptr_t answer);

class WindowMessagePlayer : public Player {
 public:
  // program: the player's program (WinampExe), read at every request, so that a
  // reload of the settings takes effect at once.
  WindowMessagePlayer(Platform& os, const std::string& program) : os_(os), program_(program) {}

  std::int32_t WritePlaylist() override;
  std::int32_t ClearPlaylist() override;
  std::int32_t SetPlaylistPosition(std::int32_t entry) override;
  void Stop() override;
  void Play() override;
  // Runs "<program> /ADD <path>" (each quoted when it holds a blank).
  void AddToPlaylist(const std::string& playlistPath) override;
  // Asks 338 (UTF-16), then 337 (ANSI), and reads the answer from the player's memory.
  std::optional<std::u16string> PlaylistFolder() override;
  // Asks 104, then 125, of a running player.
  std::optional<std::int32_t> PlayingEntry() override;

  // Starts the player when its window is missing, then sends one message and returns
  // the answer; -1 (nothing sent) when no player window can be found.
  std::int32_t SendToPlayer(std::uint32_t message, std::int32_t wParam, std::int32_t lParam);

 private:
  bool PlayerRunning();
  std::optional<std::u16string> ReportedFolder(WindowHandle player, std::int32_t request,
                                               std::size_t unitSize);

  Platform& os_;
  const std::string& program_;
};

}  // namespace plenvox
