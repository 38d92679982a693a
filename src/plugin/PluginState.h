// The state that the host's entry points share, one record per process: what the
// library's load records, the settings as last loaded, and the folder of the last
// listing. The playlist handle and the edit batches keep their own state beside it.
#pragma once

#include <string>
#include <string_view>

#include "config/Settings.h"
#include "platform/Platform.h"

namespace plenvox {

// The root of the virtual folder, the only path that lists entries.
constexpr std::string_view kRootPath = "\\";

struct TPluginState {
  // The library's load: its own path (for the settings program beside it) and the
  // lower-cased host path (for "%commander_path%"); nothing else is read or sent.
  explicit TPluginState(Platform& os);

  std::string ModulePath;
  std::string CommanderPath;
  // Loaded by FsInit and at the start of every listing; zero until then.
  TSettings Settings;
  // The path of the most recent FsFindFirst, cut to 255 characters.
  std::string CurrentPath;

  // Entries exist for the commands only while the last listing was of the root.
  bool ListedRoot() const { return CurrentPath == kRootPath; }
  void ReloadSettings(Platform& os);
};

}  // namespace plenvox
