#include "support/FakePlayer.h"

#include <sstream>

#include "player/WindowMessagePlayer.h"
#include "support/TempDir.h"

namespace plenvox::test {

FakePlayer::FakePlayer(FakePlatform& os, std::string program, std::string playlistPath)
    : os_(os), program_(std::move(program)), playlistPath_(std::move(playlistPath)) {
  os_.onSendMessage = [this](WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) { return Handle(message, wParam, lParam); };
  os_.onRunCommandLine = [this](const std::string& commandLine, int) {
    const std::string started = CommandLinePath(program_);
    if (commandLine == started) {
      SetRunning(true);
    } else if (commandLine.compare(0, started.size(), started) == 0) {
      if (const auto added = AddedPlaylist(commandLine)) {
        // A second instance hands the file to the running one, or becomes the player.
        SetRunning(true);
        AddToPlaylist(*added);
      }
    }
  };
}

std::optional<std::string> FakePlayer::AddedPlaylist(const std::string& commandLine) {
  const std::string kSwitch = " /ADD ";
  const auto at = commandLine.find(kSwitch);
  if (at == std::string::npos) return std::nullopt;
  std::string path = commandLine.substr(at + kSwitch.size());
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
  return path;
}

void FakePlayer::SetRunning(bool running) {
  if (running) {
    os_.windows[kPlayerWindowClass] = kWindow;
  } else {
    os_.windows.erase(kPlayerWindowClass);
  }
}

bool FakePlayer::Running() const { return os_.windows.count(kPlayerWindowClass) != 0; }

std::intptr_t FakePlayer::Handle(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
  if (message == kWmCommand) {
    if (wParam == kPlayerButtonStop) Stop();
    if (wParam == kPlayerButtonPlay) Play();
    return 0;
  }
  if (message != kWmUser) return 0;
  switch (lParam) {
    case kPlayerWritePlaylist:
      return WritePlaylist();
    case kPlayerClearPlaylist:
      return ClearPlaylist();
    case kPlayerSetPosition:
      return SetPlaylistPosition(static_cast<std::int32_t>(static_cast<std::intptr_t>(wParam)));
    case kPlayerPlaylistFolderW:
      return ReportFolder(true);
    case kPlayerPlaylistFolder:
      return ReportFolder(false);
    default:
      return 0;
  }
}

std::intptr_t FakePlayer::ReportFolder(bool wide) {
  // Like an old player, one without a folder to report answers 1.
  if (!reportedFolder) return 1;
  std::string bytes;
  if (wide) {
    for (const char16_t unit : *reportedFolder + u'\0') {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>(unit >> 8);
    }
  } else {
    bytes = os_.WideToAnsi(*reportedFolder) + '\0';
  }
  const std::uintptr_t address = wide ? kFolderAddressW : kFolderAddressA;
  os_.processMemory[address] = bytes;
  return static_cast<std::intptr_t>(address);
}

std::int32_t FakePlayer::WritePlaylist() {
  if (os_.IsOpen(playlistPath_)) ++writesWhileOpen;
  std::string text = "#EXTM3U\r\n";
  for (const auto& entry : entries) text += "#EXTINF:-1,title\r\n" + entry + "\r\n";
  WriteFile(playlistPath_, text);
  return writeAnswer ? *writeAnswer : position;
}

std::int32_t FakePlayer::ClearPlaylist() {
  entries.clear();
  return 0;
}

std::int32_t FakePlayer::SetPlaylistPosition(std::int32_t entry) {
  position = entry;
  return 0;
}

void FakePlayer::Stop() { playing = false; }
void FakePlayer::Play() { playing = true; }

void FakePlayer::AddToPlaylist(const std::string& path) {
  if (!Exists(path)) return;
  std::istringstream in(ReadFile(path));
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header) {
      header = false;
      continue;
    }
    if (line.rfind("#EXTINF:", 0) == 0 || line.empty()) continue;
    entries.push_back(line);
  }
}

}  // namespace plenvox::test
