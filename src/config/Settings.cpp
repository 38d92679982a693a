#include "config/Settings.h"

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

// Without an INI path every key takes its default; the platform's reader is not asked.
std::string ReadIni(Platform& os, const std::string& ini, const char* section, const char* key,
                    const char* fallback) {
  return ini.empty() ? std::string(fallback) : os.ReadIniString(section, key, fallback, ini);
}

std::string ReadPath(Platform& os, const std::string& ini, const char* key,
                     const std::string& commanderPath) {
  return PathValue(ReadIni(os, ini, ini::kPathSection, key, ""), commanderPath);
}

std::string ReadMode(Platform& os, const std::string& ini, const char* key) {
  return ReadIni(os, ini, ini::kModeSection, key, "");
}

std::string TempPlaylistPath(Platform& os) {
  std::string folder = CutShort(EnvironmentValue(os, "temp"));
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return CutShort(folder + "temp.m3u");
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

std::int32_t IntegerValue(const std::string& raw, std::int32_t fallback) {
  std::int32_t value = fallback;
  return ParseInt32(raw, value) ? value : fallback;
}

bool SwitchValue(const std::string& raw) { return IntegerValue(raw, 1) != 0; }

void LoadSettings(Platform& os, const std::string& commanderPath, TSettings& settings) {
  const std::string ini = ReadIniFileName(os);
  TSettings loaded;
  loaded.WinampFolder = ReadPath(os, ini, ini::kWinampFolder, commanderPath);
  loaded.WinampExe = CutShort(loaded.WinampFolder + "winamp.exe");
  loaded.WinampPlaylist = CutShort(loaded.WinampFolder + "winamp.m3u");
  loaded.Editor = ReadPath(os, ini, ini::kEditor, commanderPath);
  loaded.DisplayMode = static_cast<std::uint8_t>(
      IntegerValue(ReadMode(os, ini, ini::kDisplayMode), ini::kDefaultDisplayMode) & 0xFF);
  // The only key whose empty value is kept: the default applies when the key is missing.
  loaded.ExtFilter =
      os.AnsiToWide(ReadIni(os, ini, ini::kModeSection, ini::kExtFilter, ini::kDefaultExtFilter));
  loaded.SettingsProgram = ReadPath(os, ini, ini::kSettings, commanderPath);
  loaded.BlockDead = SwitchValue(ReadMode(os, ini, ini::kBlockDead));
  loaded.DisableMulti = SwitchValue(ReadMode(os, ini, ini::kDisableMulti));
  loaded.TempPlaylist = TempPlaylistPath(os);
  loaded.Valid = !loaded.WinampFolder.empty();
  settings = std::move(loaded);
}

}  // namespace plenvox
