// The plug-in front end: the state that the host's entry points share, and the entry
// points themselves in portable form. The exported C functions (dll/Exports.cpp) only
// translate the host's arguments and forward here. Every entry point catches whatever
// the core raises: nothing leaves towards the host.
#pragma once

#include <cstdint>
#include <string>

#include "config/Settings.h"
#include "platform/FindData.h"
#include "platform/Platform.h"
#include "player/PlayerLink.h"
#include "playlist/PlaylistFile.h"

namespace plenvox {

constexpr const char* kRootName = "PlenvoxFast";
constexpr const char* kRootPath = "\\";
constexpr const char* kAboutText = "Plenvox2 (Fast) version 1.0 by Quorlan.";
constexpr const char* kAboutCaption = "Information";
constexpr const char* kFirstRunText =
    "Main settings file not found or empty. Please, run SETTINGS.EXE";
constexpr const char* kFirstRunCaption = "First run message";
constexpr const char* kSettingsProgramFile = "settings.exe";

class Plugin {
 public:
  // The library's load: records its own path and the host's path.
  explicit Plugin(Platform& os);

  // --- Entry points ----------------------------------------------------------
  int FsInit() noexcept;
  void FsGetDefRootName(char* buffer, int size) noexcept;
  // 0 for a listing with entries, -1 (last error 18) for an empty folder.
  std::intptr_t FsFindFirst(const std::string& path, TFindData& record) noexcept;
  bool FsFindNext(TFindData& record) noexcept;
  int FsFindClose() noexcept;
  int FsGetFile() noexcept;

  // --- State, read by the tests ------------------------------------------------
  const TSettings& Settings() const { return settings_; }
  const std::string& ModulePath() const { return modulePath_; }
  const std::string& CommanderPath() const { return commanderPath_; }
  const std::string& CurrentPath() const { return currentPath_; }
  const PlaylistFile& Playlist() const { return playlistFile_; }

 private:
  std::intptr_t FindFirst(const std::string& path, TFindData& record);
  std::intptr_t EmptyFolder();
  void ShowFirstRunMessage();
  void FillRecord(const std::string& path, TFindData& record, bool first);
  void StatFile(const std::string& path, TFindData& record);
  double PlayTimeOf(const std::string& path);
  void ClosePlaylistQuietly() noexcept;

  Platform& os_;
  std::string modulePath_;
  std::string commanderPath_;
  TSettings settings_;
  PlayerLink player_;
  std::string currentPath_;
  PlaylistFile playlistFile_;
};

}  // namespace plenvox
