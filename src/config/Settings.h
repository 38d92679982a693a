// The plug-in's settings: where they live (a registry value naming an INI file) and
// how they are read into the one settings record.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace plenvox {

// Where the INI file's path is kept, under HKEY_CURRENT_USER.
constexpr const char* kRegistryKey = "Software\\Orrery\\Plenvox2";
constexpr const char* kRegistryValueName = "IniFileName";

// The placeholder in path values that stands for the host's folder.
constexpr const char* kCommanderPathPlaceholder = "%commander_path%";

// The settings record. Every path is a short string (at most 255 characters).
struct TSettings {
  bool Valid = false;
  std::string WinampFolder;
  std::string WinampExe;
  std::string WinampPlaylist;
  std::string Editor;
  std::string TempPlaylist;
  std::string SettingsProgram;
  std::uint8_t DisplayMode = 0;
  std::u16string ExtFilter;
  bool BlockDead = false;
  bool DisableMulti = false;
};

// The INI file's path from the registry, or an empty text.
std::string ReadIniFileName(Platform& os);

// The lower-cased value of "commander_path", taken once when the library loads.
std::string CaptureCommanderPath(Platform& os);

// Reads the registry value and the INI file into settings; never fails.
void LoadSettings(Platform& os, const std::string& commanderPath, TSettings& settings);

// --- The value rules, exposed for the settings program and the tests -------
// A path value: first 255 characters, placeholder replaced, cut to 255 again.
std::string PathValue(const std::string& raw, const std::string& commanderPath);
// An integer value, or fallback for text that is not a 32-bit number.
std::int32_t IntegerValue(const std::string& raw, std::int32_t fallback);
// A switch: an integer whose default is on; 0 is off, any other number on.
bool SwitchValue(const std::string& raw);

// The section and key names of the INI file.
namespace ini {
constexpr const char* kPathSection = "Path";
constexpr const char* kModeSection = "Mode";
constexpr const char* kWinampFolder = "WinampFolder";
constexpr const char* kEditor = "Editor";
constexpr const char* kSettings = "Settings";
constexpr const char* kDisplayMode = "DisplayMode";
constexpr const char* kExtFilter = "ExtFilter";
constexpr const char* kBlockDead = "BlockDead";
constexpr const char* kDisableMulti = "DisableMulti";
constexpr std::int32_t kDefaultDisplayMode = 1;
constexpr const char* kDefaultExtFilter = "mp3";
}  // namespace ini

}  // namespace plenvox
