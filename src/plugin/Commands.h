// Commands on the folder and its entries: save the playlist (typed on the host's
// command line), the settings program (properties of the folder), play an entry
// (open), and the editor (properties of an entry).
#pragma once

#include <string>

#include "platform/Platform.h"
#include "player/Host.h"
#include "player/Player.h"
#include "plugin/PlaylistHandle.h"
#include "plugin/PluginState.h"

namespace plenvox {

class Commands {
 public:
  Commands(Platform& os, const TPluginState& state, PlaylistHandle& playlist, Player& player,
           Host& host)
      : os_(os), state_(state), playlist_(playlist), player_(player), host_(host) {}

  // 0 done, 1 error. Raises what the playlist lookup of "open" raises.
  int ExecuteFile(const std::string& remoteName, const std::string& verb);

 private:
  void SavePlaylistCopy();
  std::string BrowseFolder(const std::string& title);
  void PlayEntry(const std::string& remoteName);

  Platform& os_;
  const TPluginState& state_;
  PlaylistHandle& playlist_;
  Player& player_;
  Host& host_;
};

}  // namespace plenvox
