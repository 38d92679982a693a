#include "settings/SettingsReport.h"

#include "player/WindowMessagePlayer.h"

namespace plenvox {

namespace {

std::string Line(const char* field, const std::string& value) {
  return std::string(field) + "=" + value + "\r\n";
}

std::string Boolean(bool value) { return value ? "true" : "false"; }

}  // namespace

std::string FormatSettings(Platform& os, const TSettings& settings) {
  return Line("Valid", Boolean(settings.Valid)) +
         Line("WinampFolder", settings.WinampFolder) +
         Line("PlaylistFolder", settings.PlaylistFolder) +
         Line("WinampExe", settings.WinampExe) +
         Line("WinampPlaylist", settings.WinampPlaylist) +
         Line("Editor", settings.Editor) +
         Line("TempPlaylist", settings.TempPlaylist) +
         Line("SettingsProgram", settings.SettingsProgram) +
         Line("DisplayMode", std::to_string(static_cast<int>(settings.DisplayMode))) +
         Line("ExtFilter", os.WideToAnsi(settings.ExtFilter)) +
         Line("BlockDead", Boolean(settings.BlockDead)) +
         Line("DisableMulti", Boolean(settings.DisableMulti)) +
         Line("TagCodePage", std::to_string(settings.TagCodePage)) +
         Line("NumberCopies", Boolean(settings.NumberCopies));
}

std::string PlaylistFolderInUseNow(Platform& os, const TSettings& settings) {
  std::optional<std::string> reported;
  if (settings.PlaylistFolder.empty()) {
    if (const auto folder = WindowMessagePlayer(os, settings.WinampExe).PlaylistFolder()) {
      reported = os.FromWide(os.TextEncoding(), *folder);
    }
  }
  return PlaylistFolderInUse(settings, reported, os.PathSeparator());
}

}  // namespace plenvox
