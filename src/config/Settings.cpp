#include "config/Settings.h"

#include "common/FileNames.h"
#include "common/Path.h"
#include "common/Text.h"

namespace plenvox {

namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
// Environment values longer than this do not fit the 260-character buffer they are
// read into, and count as not set.
constexpr std::size_t kEnvironmentMax = 259;

std::string EnvironmentValue(Platform& os, const char* name) {
  const auto value = os.GetEnv(name);
  if (!value || value->size() > kEnvironmentMax) return {};
  return *value;
}

// Paths are short strings in the ANSI encoding only; UTF-8 paths stay whole.
std::string ReadPath(Platform& os, const std::string& ini, const SettingKey& key,
                     const std::string& commanderPath) {
  const std::string raw = ReadSettingText(os, ini, key);
  if (os.TextEncoding() == TTextEncoding::Utf8) return ReplaceAll(raw, kCommanderPathPlaceholder, commanderPath);
  return PathValue(raw, commanderPath);
}

std::string CutPath(Platform& os, const std::string& path) {
  return os.TextEncoding() == TTextEncoding::Utf8 ? path : CutShort(path);
}

std::string TempPlaylistPath(Platform& os) {
  const std::string file = PlaylistFileName(kTempPlaylistFile, os.TextEncoding());
  const char separator = os.PathSeparator();
  if (os.TextEncoding() == TTextEncoding::Utf8) return JoinPath(EnvironmentValue(os, "temp"), file, separator);
  return CutShort(JoinPath(CutShort(EnvironmentValue(os, "temp")), file, separator));
}

}  // namespace

std::string ReadIniFileName(Platform& os) {
  const auto value = os.ReadUserRegistryValue(kRegistryKey, kRegistryValueName);
  if (!value || (value->Type != kRegSz && value->Type != kRegExpandSz) || value->Data.size() <= 1) {
    return {};
  }
  // The stored size counts the terminating zero; an expandable string is used as stored.
  return value->Data.substr(0, value->Data.size() - 1);
}

std::string CaptureCommanderPath(Platform& os) {
  return LowerAscii(EnvironmentValue(os, "commander_path"));
}

std::string PathValue(const std::string& raw, const std::string& commanderPath) {
  return CutShort(ReplaceAll(CutShort(raw), kCommanderPathPlaceholder, commanderPath));
}

std::string ReadSettingText(Platform& os, const std::string& iniPath, const SettingKey& key) {
  return iniPath.empty() ? std::string(key.Default)
                         : os.ReadIniString(key.Section, key.Key, key.Default, iniPath);
}

std::int32_t IntegerValue(const std::string& raw, std::int32_t fallback) {
  std::int32_t value = fallback;
  return ParseInt32(raw, value) ? value : fallback;
}

TDisplayMode DisplayModeValue(const std::string& raw) {
  const std::int32_t fallback = IntegerValue(ini::kDisplayMode.Default, 0);
  return static_cast<TDisplayMode>(IntegerValue(raw, fallback) & 0xFF);
}

std::uint32_t CodePageValue(const std::string& raw) {
  const std::int32_t value = IntegerValue(raw, 0);
  return value > 0 && value <= 0xFFFF ? static_cast<std::uint32_t>(value) : 0;
}

bool SwitchValue(const std::string& raw, const SettingKey& key) {
  return IntegerValue(raw, IntegerValue(key.Default, 0)) != 0;
}

std::string PlaylistFolderInUse(const TSettings& settings,
                                const std::optional<std::string>& playerFolder, char separator) {
  if (!settings.PlaylistFolder.empty()) return WithTrailingSeparator(settings.PlaylistFolder, separator);
  if (playerFolder && !playerFolder->empty()) return WithTrailingSeparator(*playerFolder, separator);
  return settings.WinampFolder;
}

std::string PlayerPlaylistPath(const std::string& folder, TTextEncoding encoding) {
  const std::string path = folder + PlaylistFileName(kPlayerPlaylistFile, encoding);
  return encoding == TTextEncoding::Ansi ? CutShort(path) : path;
}

TMpdSettings LoadMpdSettings(Platform& os) {
  const std::string ini = ReadIniFileName(os);
  TMpdSettings mpd;
  mpd.Host = ReadSettingText(os, ini, ini::kMpdHost);
  mpd.Port = IntegerValue(ReadSettingText(os, ini, ini::kMpdPort), 0);
  mpd.MusicDirectory = ReadSettingText(os, ini, ini::kMpdMusicDirectory);
  mpd.TimeoutMs = IntegerValue(ReadSettingText(os, ini, ini::kMpdTimeout), mpd.TimeoutMs);
  return mpd;
}

void LoadSettings(Platform& os, const std::string& commanderPath, TSettings& settings) {
  const std::string ini = ReadIniFileName(os);
  TSettings loaded;
  loaded.WinampFolder = ReadPath(os, ini, ini::kWinampFolder, commanderPath);
  loaded.PlaylistFolder = ReadPath(os, ini, ini::kPlaylistFolder, commanderPath);
  // The player's files follow the folder as it is written, without a separator.
  loaded.WinampExe = CutPath(os, loaded.WinampFolder + std::string(kPlayerProgramFile));
  loaded.WinampPlaylist =
      PlayerPlaylistPath(PlaylistFolderInUse(loaded, std::nullopt, os.PathSeparator()), os.TextEncoding());
  loaded.Editor = ReadPath(os, ini, ini::kEditor, commanderPath);
  loaded.DisplayMode = DisplayModeValue(ReadSettingText(os, ini, ini::kDisplayMode));
  // The only key whose empty value is kept: the default applies when the key is missing.
  loaded.ExtFilter = os.ToWide(os.TextEncoding(), ReadSettingText(os, ini, ini::kExtFilter));
  loaded.SettingsProgram = ReadPath(os, ini, ini::kSettings, commanderPath);
  loaded.BlockDead = SwitchValue(ReadSettingText(os, ini, ini::kBlockDead), ini::kBlockDead);
  loaded.DisableMulti = SwitchValue(ReadSettingText(os, ini, ini::kDisableMulti), ini::kDisableMulti);
  loaded.TagCodePage = CodePageValue(ReadSettingText(os, ini, ini::kTagCodePage));
  loaded.NumberCopies = SwitchValue(ReadSettingText(os, ini, ini::kNumberCopies), ini::kNumberCopies);
  loaded.TempPlaylist = TempPlaylistPath(os);
  loaded.Valid = !loaded.WinampFolder.empty();
  settings = std::move(loaded);
}

}  // namespace plenvox
