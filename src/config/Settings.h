// The plug-in's settings: where they live (a registry value naming an INI file) and
// how they are read into the one settings record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/Path.h"
#include "platform/Platform.h"

namespace plenvox {

// Where the INI file's path is kept, under HKEY_CURRENT_USER.
constexpr const char* kRegistryKey = "Software\\Orrery\\Plenvox2";
constexpr const char* kRegistryValueName = "IniFileName";

// The placeholder in path values that stands for the host's folder.
constexpr const char* kCommanderPathPlaceholder = "%commander_path%";

// How much each item of the folder shows: its name only, the data of the file it
// names, or that data with the play time in seconds in the size field. The field holds
// whatever low byte the INI file gave; other numbers show as the host passed the record.
enum class TDisplayMode : std::uint8_t { NameOnly = 0, FileData = 1, PlayTime = 2 };

// One key of the INI file and the text that stands for it when nothing is stored.
struct SettingKey {
  const char* Section;
  const char* Key;
  const char* Default;
};

// The keys of the INI file, with their defaults.
namespace ini {
constexpr const char* kPathSection = "Path";
constexpr const char* kModeSection = "Mode";
inline constexpr SettingKey kWinampFolder{kPathSection, "WinampFolder", ""};
// The folder that holds the player's playlist, when the player keeps it elsewhere than in
// its program folder and does not say where; empty: the player's answer, else WinampFolder.
inline constexpr SettingKey kPlaylistFolder{kPathSection, "PlaylistFolder", ""};
inline constexpr SettingKey kEditor{kPathSection, "Editor", ""};
inline constexpr SettingKey kSettings{kPathSection, "Settings", ""};
inline constexpr SettingKey kDisplayMode{kModeSection, "DisplayMode", "1"};
inline constexpr SettingKey kExtFilter{kModeSection, "ExtFilter", "mp3"};
inline constexpr SettingKey kBlockDead{kModeSection, "BlockDead", "1"};
inline constexpr SettingKey kDisableMulti{kModeSection, "DisableMulti", "1"};
// The Windows code page of 8-bit tag texts (ID3v1, ID3v2's ISO-8859-1 frames, WAV's INFO
// list), as old taggers wrote them; 0: the ANSI code page.
inline constexpr SettingKey kTagCodePage{kModeSection, "TagCodePage", "0"};
// Copies out of the folder are named with the entry's playlist position in front
// ("007 - Song.mp3"), where the host takes a changed target name.
inline constexpr SettingKey kNumberCopies{kModeSection, "NumberCopies", "0"};
// The Linux edition's connection to MPD. Host: a local socket's path, or a host name
// (with "password@" in front when the daemon wants one); Port: 0 for MPD's default.
// Empty or 0, MPD_HOST and MPD_PORT decide, as they do for MPD's own clients.
// MusicDirectory: MPD's music directory as this machine sees it, for a daemon that does
// not tell it (only local-socket clients may ask). Timeout: for every request, in ms
// (at least 1000: libmpdclient waits for a connection in whole seconds).
constexpr const char* kMpdSection = "MPD";
inline constexpr SettingKey kMpdHost{kMpdSection, "Host", ""};
inline constexpr SettingKey kMpdPort{kMpdSection, "Port", "0"};
inline constexpr SettingKey kMpdMusicDirectory{kMpdSection, "MusicDirectory", ""};
inline constexpr SettingKey kMpdTimeout{kMpdSection, "Timeout", "3000"};
}  // namespace ini

// Every key that the plug-in reads, in the order in which the settings program shows
// and writes them.
inline constexpr SettingKey kSettingKeys[] = {
    ini::kWinampFolder, ini::kPlaylistFolder, ini::kEditor,    ini::kSettings,
    ini::kDisplayMode,  ini::kExtFilter,      ini::kBlockDead, ini::kDisableMulti,
    ini::kTagCodePage,  ini::kNumberCopies};

// The extension filter that the settings programs propose to a new user: every format
// whose files the folder reads (the plug-in's own default for a missing key stays
// ini::kExtFilter's).
inline constexpr const char* kProposedExtFilter =
    "mp3:mp2:mp1:flac:ogg:oga:opus:m4a:m4b:mp4:aac:wav:aif:aiff:aifc:wma";

// The keys that only the Linux edition reads.
inline constexpr SettingKey kMpdSettingKeys[] = {ini::kMpdHost, ini::kMpdPort,
                                                 ini::kMpdMusicDirectory, ini::kMpdTimeout};

// The MPD connection as the INI file sets it, read anew before every request to MPD.
struct TMpdSettings {
  std::string Host;
  std::int32_t Port = 0;
  std::string MusicDirectory;
  std::int32_t TimeoutMs = 3000;
};

// The settings record. Texts are in the encoding of the platform's texts when they were
// loaded; in the ANSI encoding every path is a short string (at most 255 characters).
struct TSettings {
  bool Valid = false;
  std::string WinampFolder;
  // The key PlaylistFolder as loaded (placeholder replaced), empty when not set.
  std::string PlaylistFolder;
  std::string WinampExe;
  // The player's playlist that the settings name: in PlaylistFolder when it is set, else
  // in WinampFolder ("winamp.m3u", "winamp.m3u8" in the UTF-8 encoding).
  std::string WinampPlaylist;
  std::string Editor;
  std::string TempPlaylist;
  std::string SettingsProgram;
  TDisplayMode DisplayMode = TDisplayMode::NameOnly;
  std::u16string ExtFilter;
  bool BlockDead = false;
  bool DisableMulti = false;
  std::uint32_t TagCodePage = 0;
  bool NumberCopies = false;
};

// The INI file's path from the registry, or an empty text.
std::string ReadIniFileName(Platform& os);

// The lower-cased value of "commander_path", taken once when the library loads.
std::string CaptureCommanderPath(Platform& os);

// Reads the registry value and the INI file into settings, in the encoding of the
// platform's texts (commanderPath in the same); never fails.
void LoadSettings(Platform& os, const std::string& commanderPath, TSettings& settings);

// The folder that holds the player's playlist: the key PlaylistFolder (with a separator
// at its end) when it is set; else the folder that the running player reported, when it
// did (the same); else WinampFolder as written. All in one encoding.
std::string PlaylistFolderInUse(const TSettings& settings,
                                const std::optional<std::string>& playerFolder,
                                char separator = kPathSeparator);

// The player's playlist file in a folder: "winamp.m3u" directly after the folder, cut to
// a short string, in the ANSI encoding; "winamp.m3u8", whole, in the UTF-8 encoding.
std::string PlayerPlaylistPath(const std::string& folder, TTextEncoding encoding);

// Reads the MPD connection from the INI file that the registry value (on Linux its
// replacement) names; defaults without one.
TMpdSettings LoadMpdSettings(Platform& os);

// --- The value rules, exposed for the settings program and the tests -------
// The text stored for the key in the INI file, or the key's default when nothing is
// stored; without an INI path the default, without asking the INI reader.
std::string ReadSettingText(Platform& os, const std::string& iniPath, const SettingKey& key);
// A path value: first 255 characters, placeholder replaced, cut to 255 again.
std::string PathValue(const std::string& raw, const std::string& commanderPath);
// An integer value, or fallback for text that is not a 32-bit number.
std::int32_t IntegerValue(const std::string& raw, std::int32_t fallback);
// A display mode: the low byte of an integer, or the key's default.
TDisplayMode DisplayModeValue(const std::string& raw);
// A code page: a number from 0 to 65535, else 0 (the ANSI code page).
std::uint32_t CodePageValue(const std::string& raw);
// A switch: an integer, or the key's default (on for both switches); 0 is off, any
// other number on.
bool SwitchValue(const std::string& raw, const SettingKey& key);


}  // namespace plenvox
