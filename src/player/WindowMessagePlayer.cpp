#include "player/WindowMessagePlayer.h"

namespace plenvox {

// A path with a blank goes on a command line in quotation marks, so that the system
// does not try "C:\Program.exe" for "C:\Program Files\...", and the player does not
// take "C:\Temp dir\temp.m3u" for two files. Paths without blanks stay as they are.
std::string CommandLinePath(const std::string& path) {
  if (path.find(' ') == std::string::npos || (path.size() >= 2 && path.front() == '"')) return path;
  return '"' + path + '"';
}

std::optional<std::uintptr_t> PlayerMemoryAddress(std::intptr_t answer) {
  constexpr std::uintptr_t kFirstAddress = 65536;
  // A small negative answer (-1 of a failed request) points nowhere either.
  if (answer < 0 && answer > -static_cast<std::intptr_t>(kFirstAddress)) return std::nullopt;
  auto address = static_cast<std::uintptr_t>(answer);
  // A 32-bit player's pointer above 2 GB may reach a 64-bit caller sign-extended.
  if (sizeof address > 4 && (address >> 16 >> 16) == 0xFFFFFFFFu) address &= 0xFFFFFFFFu;
  if (address < kFirstAddress) return std::nullopt;
  return address;
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

std::optional<std::int32_t> WindowMessagePlayer::PlayingEntry() {
  const WindowHandle player = os_.FindWindow(kPlayerWindowClass);
  if (player == 0) return std::nullopt;
  const auto status = static_cast<std::int32_t>(os_.SendMessage(player, kWmUser, 0, kPlayerPlayingStatus));
  if (status != kPlayerStatusPlaying && status != kPlayerStatusPaused) return std::nullopt;
  const auto position = static_cast<std::int32_t>(os_.SendMessage(player, kWmUser, 0, kPlayerListPosition));
  if (position < 0) return std::nullopt;
  return position;
}

namespace {

// The longest folder read from the player: the longest path that Windows names.
constexpr std::size_t kFolderUnitsMax = 32767;

std::u16string LittleEndianUnits(const std::string& bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return units;
}

}  // namespace

std::optional<std::u16string> WindowMessagePlayer::PlaylistFolder() {
  const WindowHandle player = os_.FindWindow(kPlayerWindowClass);
  if (player == 0) return std::nullopt;
  if (auto folder = ReportedFolder(player, kPlayerPlaylistFolderW, 2)) return folder;
  return ReportedFolder(player, kPlayerPlaylistFolder, 1);
}

std::optional<std::u16string> WindowMessagePlayer::ReportedFolder(WindowHandle player,
                                                                  std::int32_t request,
                                                                  std::size_t unitSize) {
  const auto address = PlayerMemoryAddress(os_.SendMessage(player, kWmUser, 0, request));
  if (!address) return std::nullopt;
  const auto text = os_.ReadProcessText(player, *address, unitSize, kFolderUnitsMax);
  if (!text || text->empty()) return std::nullopt;
  return unitSize == 2 ? LittleEndianUnits(*text) : os_.AnsiToWide(*text);
}

void WindowMessagePlayer::AddToPlaylist(const std::string& playlistPath) {
  os_.RunCommandLine(CommandLinePath(program_) + kAddSwitch + CommandLinePath(playlistPath),
                     kShowNormal);
}

}  // namespace plenvox
