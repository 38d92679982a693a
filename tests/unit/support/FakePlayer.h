// A simulated player: it keeps a playlist and a position, writes its playlist file when
// asked, clears it, sets its position, and appends the entries of a playlist file
// handed to it. It is a Player of its own, for the front end without any window
// messages, and it is the other side of the window-message player on the fake
// platform: it answers messages 1024/120, 101, 121 (and 338 and 337 when it reports a
// playlist folder, with texts in the fake's process memory) and the command line
// "<program> /ADD <path>", and starting its program while it is not running opens its
// window.
#pragma once

#include <string>
#include <vector>

#include "player/Player.h"
#include "support/FakePlatform.h"

namespace plenvox::test {

class FakePlayer : public Player {
 public:
  static constexpr WindowHandle kWindow = 0x1001;

  // program: the text of WinampExe that starts it; playlistPath: its winamp.m3u.
  FakePlayer(FakePlatform& os, std::string program, std::string playlistPath);

  // The playlist path that a "<program> /ADD <path>" command line hands over.
  static std::optional<std::string> AddedPlaylist(const std::string& commandLine);

  void SetRunning(bool running);
  bool Running() const;

  std::int32_t WritePlaylist() override;
  std::int32_t ClearPlaylist() override;
  std::int32_t SetPlaylistPosition(std::int32_t entry) override;
  void Stop() override;
  void Play() override;
  void AddToPlaylist(const std::string& playlistPath) override;
  std::optional<std::u16string> PlaylistFolder() override { return reportedFolder; }

  // Where the folder texts lie in the player's memory.
  static constexpr std::uintptr_t kFolderAddressW = 0x510000;
  static constexpr std::uintptr_t kFolderAddressA = 0x520000;

  std::vector<std::string> entries;
  int position = 0;
  bool playing = false;
  // What a request to write the playlist answers instead of the position, when set.
  std::optional<int> writeAnswer;
  // The playlist folder that the player reports; nothing: it does not know the requests.
  std::optional<std::u16string> reportedFolder;
  // Requests to write the playlist file that came while someone still held it open
  // (the player could not have replaced it on Windows).
  int writesWhileOpen = 0;

 private:
  std::intptr_t Handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  std::intptr_t ReportFolder(bool wide);

  FakePlatform& os_;
  std::string program_;
  std::string playlistPath_;
};

}  // namespace plenvox::test
