#include "plugin/PluginState.h"

#include "common/Path.h"

namespace plenvox {

namespace {
// GetModuleFileNameA fills a 260-character buffer: at most 259 characters and a zero.
constexpr std::size_t kModulePathMax = 259;

// How much older than the request a playlist written for it may look: file systems keep
// coarser times than the system's clock (FAT two seconds, others a clock tick), and a
// playlist left from another installation is far older.
constexpr std::uint64_t kWriteTimeSlack = 2 * 10000000ull;

std::uint64_t Ticks(TFileTime time) { return static_cast<std::uint64_t>(time.High) << 32 | time.Low; }
}  // namespace

TPluginState::TPluginState(Platform& os, std::string firstRunText, std::string firstRunProgram)
    : ModulePath(os.ModuleFileName(TTextEncoding::Ansi).substr(0, kModulePathMax)),
      ModulePathUtf8(os.ModuleFileName(TTextEncoding::Utf8)),
      CommanderPath(CaptureCommanderPath(os)),
      FirstRunText(std::move(firstRunText)),
      FirstRunProgram(std::move(firstRunProgram)) {}

void TPluginState::LoadSettingsIn(Platform& os, TTextEncoding encoding) {
  os.SetTextEncoding(encoding);
  Encoding = encoding;
  // The host path was read once, through the A function; its UTF-8 form is converted.
  const std::string commanderPath =
      encoding == TTextEncoding::Ansi ? CommanderPath : Utf16ToUtf8(os.AnsiToWide(CommanderPath));
  LoadSettings(os, commanderPath, Settings);
}

std::int32_t TPluginState::WritePlayerPlaylist(Platform& os, Player& player) {
  const TWriteTime keyBefore = LastWrite(os, TFolderSource::Key);
  const TWriteTime ownBefore = LastWrite(os, TFolderSource::WinampFolder);
  const TFileTime asked = os.SystemTime();
  const std::int32_t position = player.WritePlaylist();
  PlayerFolder.reset();
  WrittenFolder.reset();
  if (WrittenSince(os, TFolderSource::Key, keyBefore, asked)) {
    WrittenFolder = TFolderSource::Key;
    return position;
  }
  // The folder that the player reports is the one it writes to.
  PlayerFolder = player.PlaylistFolder();
  if (PlayerFolder && !PlayerFolder->empty()) {
    WrittenFolder = TFolderSource::Player;
  } else if (WrittenSince(os, TFolderSource::WinampFolder, ownBefore, asked)) {
    WrittenFolder = TFolderSource::WinampFolder;
  }
  return position;
}

bool TPluginState::PlaylistJustWritten() const {
  // A key read anew since may no longer name a folder.
  return WrittenFolder && (*WrittenFolder != TFolderSource::Key || !Settings.PlaylistFolder.empty());
}

TPluginState::TWriteTime TPluginState::LastWrite(Platform& os, TFolderSource source) const {
  const std::string folder = FolderOf(os, source);
  TFileRecord found;
  // Every player writes the ANSI playlist; a Unicode one writes the UTF-8 one with it.
  if (folder.empty() || !os.FindFile(PlayerPlaylistPath(folder, TTextEncoding::Ansi), found)) {
    return std::nullopt;
  }
  return Ticks(found.LastWriteTime);
}

bool TPluginState::WrittenSince(Platform& os, TFolderSource source, TWriteTime before,
                                TFileTime asked) const {
  const TWriteTime now = LastWrite(os, source);
  // Written across the request, or not older than it: the clocks of a file server may
  // differ from the system's, and a write within a time stamp's step may keep it.
  return now && (now != before || *now + kWriteTimeSlack >= Ticks(asked));
}

std::string TPluginState::FolderOf(Platform& os, TFolderSource source) const {
  switch (source) {
    case TFolderSource::Key:
      return Settings.PlaylistFolder.empty()
                 ? std::string()
                 : WithTrailingSeparator(Settings.PlaylistFolder, os.PathSeparator());
    case TFolderSource::Player:
      return PlayerFolder && !PlayerFolder->empty()
                 ? WithTrailingSeparator(os.FromWide(Encoding, *PlayerFolder), os.PathSeparator())
                 : std::string();
    case TFolderSource::WinampFolder:
      return Settings.WinampFolder;
  }
  return std::string();
}

const std::string& TPluginState::ModulePathInUse() const {
  return Encoding == TTextEncoding::Utf8 ? ModulePathUtf8 : ModulePath;
}

std::string TPluginState::PlaylistFolder(Platform& os) const {
  if (PlaylistJustWritten()) return FolderOf(os, *WrittenFolder);
  std::optional<std::string> playerFolder;
  if (PlayerFolder) playerFolder = os.FromWide(Encoding, *PlayerFolder);
  return PlaylistFolderInUse(Settings, playerFolder, os.PathSeparator());
}

std::string TPluginState::PlaylistPath(Platform& os) const {
  return PlayerPlaylistPath(PlaylistFolder(os), Encoding);
}

}  // namespace plenvox
