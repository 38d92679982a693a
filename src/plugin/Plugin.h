// The plug-in front end: the state that the host's entry points share, and the entry
// points themselves in portable form. The exported C functions (dll/Exports.cpp) only
// translate the host's arguments and forward here. Every entry point catches whatever
// the core raises: nothing leaves towards the host.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "config/Settings.h"
#include "platform/FindData.h"
#include "platform/Platform.h"
#include "player/PlayerLink.h"
#include "playlist/DynamicArray.h"
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

// An entry's path from its name in the folder: without the leading backslash, then cut
// to 255 characters.
std::string EntryPathOf(const std::string& remoteName);

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

  // Edits (Edits.cpp): the host announces the start and end of an operation; between
  // the two ends of an add or delete batch, puts and deletes are only collected.
  void FsStatusInfo(int startEnd, int operation) noexcept;
  // 0 whatever happens to the file.
  int FsPutFile(const std::string& localName) noexcept;
  // wfx::kTrue whatever happens to the entry.
  int FsDeleteFile(const std::string& remoteName) noexcept;

  // Commands (Commands.cpp): 0 done, 1 error.
  int FsExecuteFile(const std::string& remoteName, const std::string& verb) noexcept;

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

  void StartOperation(int operation);
  void EndOperation(int operation);
  void StartAddBatch();
  void CollectAddition(const std::string& localName);
  bool InPlaylistAlready(const std::string& path);
  void EndAddBatch();
  void StartDeleteBatch();
  void CollectDeletion(const std::string& remoteName);
  void EndDeleteBatch();
  void FinishBatch();
  void BindPlaylist();

  int ExecuteFile(const std::string& remoteName, const std::string& verb);
  void SavePlaylistCopy();
  std::string BrowseFolder(const std::string& title);
  void PlayEntry(const std::string& remoteName);

  Platform& os_;
  std::string modulePath_;
  std::string commanderPath_;
  TSettings settings_;
  PlayerLink player_;
  std::string currentPath_;
  PlaylistFile playlistFile_;

  // The open edit batch, if any: each list exists from the start to the end of its batch.
  std::unique_ptr<TDynamicArray> pendingAdds_;
  std::unique_ptr<TDynamicArrayI> pendingDeletes_;
  // The player's position when the last delete batch started.
  std::int32_t savedPosition_ = 0;
};

}  // namespace plenvox
