// The link to the player and to the host: finding, starting and commanding the player
// through its window messages and its "/ADD" command line, and finding and refreshing
// the host's main window. Stateless: both windows are looked up anew every time.
#pragma once

#include <cstdint>
#include <string>

#include "config/Settings.h"
#include "platform/Platform.h"

namespace plenvox {

constexpr const char* kPlayerWindowClass = "Winamp v1.x";
constexpr const char* kHostWindowClass = "TTOTAL_CMD";

constexpr std::uint32_t kWmUser = 1024;
constexpr std::uint32_t kWmCommand = 273;

// lParam codes of the player's WM_USER requests.
constexpr std::int32_t kPlayerWritePlaylist = 120;
constexpr std::int32_t kPlayerClearPlaylist = 101;
constexpr std::int32_t kPlayerSetPosition = 121;
// wParam codes of the player's buttons (WM_COMMAND).
constexpr std::int32_t kPlayerButtonStop = 40047;
constexpr std::int32_t kPlayerButtonPlay = 40045;

constexpr const char* kAddSwitch = " /ADD ";

// The host's "re-read the current panel" command.
constexpr std::uint32_t kHostRefreshMessage = kWmUser + 51;
constexpr std::uintptr_t kHostRefreshWParam = 540;

// The path as it goes on a command line: in quotation marks when it holds a blank.
std::string CommandLinePath(const std::string& path);

class PlayerLink {
 public:
  PlayerLink(Platform& os, const TSettings& settings) : os_(os), settings_(settings) {}

  bool PlayerRunning();
  // Starts the player when its window is missing, then sends one message and returns
  // the answer; -1 (nothing sent) when no player window can be found.
  std::int32_t SendToPlayer(std::uint32_t message, std::int32_t wParam, std::int32_t lParam);
  // The player writes its playlist file and answers its current position.
  std::int32_t WritePlaylist();
  std::int32_t ClearPlaylist();
  std::int32_t SetPlaylistPosition(std::int32_t entry);
  void Stop();
  void Play();
  // Runs "<WinampExe> /ADD <path>" (each quoted when it holds a blank): the player
  // appends that playlist's entries.
  void AddToPlaylist(const std::string& playlistPath);

  WindowHandle HostWindow();
  void RefreshHost();

 private:
  Platform& os_;
  const TSettings& settings_;
};

}  // namespace plenvox
