// A player for the fake platform: it keeps a playlist, writes it to its playlist file
// when asked (message 1024/120), clears it (101), sets its position (121), and appends
// the entries of a playlist file handed to it with "<program> /ADD <path>". Starting
// its program while it is not running opens its window.
#pragma once

#include <string>
#include <vector>

#include "support/FakePlatform.h"

namespace plenvox::test {

class FakePlayer {
 public:
  static constexpr WindowHandle kWindow = 0x1001;

  // program: the text of WinampExe that starts it; playlistPath: its winamp.m3u.
  FakePlayer(FakePlatform& os, std::string program, std::string playlistPath);

  // The playlist path that a "<program> /ADD <path>" command line hands over.
  static std::optional<std::string> AddedPlaylist(const std::string& commandLine);

  void SetRunning(bool running);
  bool Running() const;

  std::vector<std::string> entries;
  int position = 0;
  // What a request to write the playlist answers instead of the position, when set.
  std::optional<int> writeAnswer;

 private:
  std::intptr_t Handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  void WritePlaylistFile();
  void AppendFrom(const std::string& path);

  FakePlatform& os_;
  std::string program_;
  std::string playlistPath_;
};

}  // namespace plenvox::test
