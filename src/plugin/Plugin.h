// The plug-in front end: the host's entry points in portable form, over the shared
// state, the playlist handle, the listing, the edit batches and the commands. The
// exported C functions (dll/Exports.cpp) only translate the host's arguments and
// forward here. Every entry point catches whatever the core raises: nothing leaves
// towards the host.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FindData.h"
#include "platform/Platform.h"
#include "player/Host.h"
#include "player/Player.h"
#include "plugin/AnalysisCache.h"
#include "plugin/Commands.h"
#include "plugin/EditBatches.h"
#include "plugin/Listing.h"
#include "plugin/PlaylistHandle.h"
#include "plugin/PluginState.h"

namespace plenvox {

constexpr const char* kRootName = "PlenvoxFast";
constexpr const char* kAboutText = "Plenvox2 (Fast) version 1.0 by Quorlan.";
constexpr const char* kAboutCaption = "Information";

class Plugin {
 public:
  // The front end over the state that the library's load made, and over the player
  // and the host of its edition.
  Plugin(Platform& os, TPluginState& state, Player& player, Host& host);

  int FsInit() noexcept;
  void FsGetDefRootName(char* buffer, int size) noexcept;
  // 0 for a listing with entries, -1 (last error 18) for an empty folder.
  std::intptr_t FsFindFirst(const std::string& path, TFindData& record) noexcept;
  bool FsFindNext(TFindData& record) noexcept;
  int FsFindClose() noexcept;
  int FsGetFile() noexcept;
  void FsStatusInfo(int startEnd, int operation) noexcept;
  // 0 whatever happens to the file.
  int FsPutFile(const std::string& localName) noexcept;
  // wfx::kTrue whatever happens to the entry.
  int FsDeleteFile(const std::string& remoteName) noexcept;
  // 0 done, 1 error.
  int FsExecuteFile(const std::string& remoteName, const std::string& verb) noexcept;

  // --- State, read by the tests ------------------------------------------------
  const TSettings& Settings() const { return state_.Settings; }
  const std::string& ModulePath() const { return state_.ModulePath; }
  const std::string& CommanderPath() const { return state_.CommanderPath; }
  const std::string& CurrentPath() const { return state_.CurrentPath; }
  const PlaylistFile& Playlist() const { return playlist_.File(); }

 private:
  Platform& os_;
  TPluginState& state_;
  Player& player_;
  Host& host_;
  PlaylistHandle playlist_;
  AnalysisCache analyses_;
  Listing listing_;
  EditBatches batches_;
  Commands commands_;
};

}  // namespace plenvox
