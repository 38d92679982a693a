#include "plugin/PluginState.h"

namespace plenvox {

namespace {
// GetModuleFileNameA fills a 260-character buffer: at most 259 characters and a zero.
constexpr std::size_t kModulePathMax = 259;
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

void TPluginState::AskPlayerForPlaylistFolder(Player& player) {
  // The key wins over whatever the player would answer.
  if (!Settings.PlaylistFolder.empty()) return;
  PlayerFolder = player.PlaylistFolder();
}

const std::string& TPluginState::ModulePathInUse() const {
  return Encoding == TTextEncoding::Utf8 ? ModulePathUtf8 : ModulePath;
}

std::string TPluginState::PlaylistFolder(Platform& os) const {
  std::optional<std::string> playerFolder;
  if (PlayerFolder) playerFolder = os.FromWide(Encoding, *PlayerFolder);
  return PlaylistFolderInUse(Settings, playerFolder, os.PathSeparator());
}

std::string TPluginState::PlaylistPath(Platform& os) const {
  return PlayerPlaylistPath(PlaylistFolder(os), Encoding);
}

}  // namespace plenvox
