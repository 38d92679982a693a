#include "player/WindowMessagePlayer.h"

namespace plenvox {

// A path with a blank goes on a command line in quotation marks, so that the system
// does not try "C:\Program.exe" for "C:\Program Files\...", and the player does not
// take "C:\Temp dir\temp.m3u" for two files. Paths without blanks stay as they are.
std::string CommandLinePath(const std::string& path) {
  if (path.find(' ') == std::string::npos || (path.size() >= 2 && path.front() == '"')) return path;
  return '"' + path + '"';
}

bool WindowMessagePlayer::PlayerRunning() { return os_.FindWindow(kPlayerWindowClass) != 0; }

std::int32_t WindowMessagePlayer::SendToPlayer(std::uint32_t message, std::int32_t wParam,
                                               std::int32_t lParam) {
  if (!PlayerRunning()) os_.RunCommandLine(CommandLinePath(program_), kShow);
  // One more look, no retries: the start itself waits until the player takes input.
  const WindowHandle player = os_.FindWindow(kPlayerWindowClass);
  if (player == 0) return -1;
  // Message parameters are 32-bit numbers; a negative position travels sign-extended.
  const auto answer = os_.SendMessage(player, message,
                                      static_cast<std::uintptr_t>(static_cast<std::intptr_t>(wParam)),
                                      static_cast<std::intptr_t>(lParam));
  return static_cast<std::int32_t>(answer);
}

std::int32_t WindowMessagePlayer::WritePlaylist() {
  return SendToPlayer(kWmUser, 0, kPlayerWritePlaylist);
}

std::int32_t WindowMessagePlayer::ClearPlaylist() {
  return SendToPlayer(kWmUser, 0, kPlayerClearPlaylist);
}

std::int32_t WindowMessagePlayer::SetPlaylistPosition(std::int32_t entry) {
  return SendToPlayer(kWmUser, entry, kPlayerSetPosition);
}

void WindowMessagePlayer::Stop() { SendToPlayer(kWmCommand, kPlayerButtonStop, 0); }
void WindowMessagePlayer::Play() { SendToPlayer(kWmCommand, kPlayerButtonPlay, 0); }

void WindowMessagePlayer::AddToPlaylist(const std::string& playlistPath) {
  os_.RunCommandLine(CommandLinePath(program_) + kAddSwitch + CommandLinePath(playlistPath),
                     kShowNormal);
}

}  // namespace plenvox
