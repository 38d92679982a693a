// The front end as the Linux edition ships it: over MPD's queue, which it writes where
// the settings name the player's playlist, and over Double Commander's request callback.
#pragma once

#include "platform/Platform.h"
#include "player/mpd/MpdPlayer.h"
#include "plugin/Plugin.h"
#include "plugin/PluginState.h"
#include "plugin/so/RequestHost.h"

namespace plenvox {

// The settings program of the Linux edition has no dialog to start: the message says
// how to run it.
constexpr const char* kLinuxFirstRunText =
    "Plenvox has no settings yet. Name the folder where it keeps MPD's queue as a playlist, "
    "in a terminal:\n\n  plenvox-settings /set Path.WinampFolder=$HOME/.cache/plenvox/\n\n"
    "(plenvox-settings is in the plug-in's folder), then open the folder again.";

struct LinuxEdition {
  explicit LinuxEdition(Platform& os)
      : state(os, kLinuxFirstRunText, ""), host(os), player(os, host), plugin(os, state, player, host) {}

  TPluginState state;
  RequestHost host;
  MpdPlayer player;
  Plugin plugin;
};

}  // namespace plenvox
