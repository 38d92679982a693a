// The front end as the Linux edition ships it: over MPD's queue, which it writes where
// the settings name the player's playlist, and over Double Commander's request callback.
#pragma once

#include "platform/Platform.h"
#include "player/mpd/MpdPlayer.h"
#include "plugin/Plugin.h"
#include "plugin/PluginState.h"
#include "plugin/so/RequestHost.h"

namespace plenvox {

struct LinuxEdition {
  explicit LinuxEdition(Platform& os)
      : state(os), host(os), player(os, host), plugin(os, state, player, host) {}

  TPluginState state;
  RequestHost host;
  MpdPlayer player;
  Plugin plugin;
};

}  // namespace plenvox
