// A whole plug-in of the Windows edition on the fake platform, for the tests of its
// entry points: a temporary folder that is the player's folder (winamp.exe,
// winamp.m3u) and the TEMP folder, a running FakePlayer answering the window-message
// player, the host's window, and an INI file named by the registry.
#pragma once

#include <string>
#include <vector>

#include "plugin/WindowsEdition.h"
#include "support/FakePlatform.h"
#include "support/FakePlayer.h"
#include "support/TempDir.h"

namespace plenvox::test {

using Calls = std::vector<std::string>;

class PluginScene {
 public:
  static constexpr WindowHandle kHost = 0x2002;

  PluginScene();

  // Writes the INI file ("[Path]" with WinampFolder and the given lines, "[Mode]" with
  // the given lines), loads it with FsInit and forgets the calls made so far.
  void Configure(const std::string& pathLines, const std::string& modeLines);
  // A listing of the root as the host makes it, with its announcement; the calls are
  // forgotten afterwards.
  void ListRoot();

  std::string PlaylistPath() const { return dir / "winamp.m3u"; }
  std::string Exe() const { return dir / "winamp.exe"; }
  // TEMP is the folder with a "/" at its end, so the plug-in adds its "\".
  std::string TempPlaylist() const { return dir.Path() + "/\\temp.m3u"; }
  // The command line that hands the temporary playlist to the player.
  std::string AddCall() const { return "RunCommandLine(" + Exe() + " /ADD " + TempPlaylist() + ", 1)"; }

  TempDir dir;
  FakePlatform os;
  FakePlayer player;
  WindowsEdition edition;
  Plugin& plugin;
  // The bytes of every playlist handed to the player with "/ADD", in order, read when
  // it was handed (the plug-in deletes it afterwards).
  std::vector<std::string> handed;
};

// The recorded text of the usual calls.
std::string Send(std::uint32_t message, std::int64_t wParam, std::int64_t lParam);
std::string WritePlaylistCall();
// The requests for the playlist folder that follow it where the plug-in asks (FsInit,
// the start of a listing, the start of a delete batch), as a player answers them that
// knows neither.
Calls AskFolderCalls();
std::string RefreshCall();
std::string OpenCall(const std::string& path);
std::string CloseCall(const std::string& path);

}  // namespace plenvox::test
