// The front end as the Windows editions ship it: over the window-message player, whose
// program is the one of the settings as last loaded, and the host's main window. The
// DLLs make one at the library's load; the tests make one over the fake platform.
#pragma once

#include "platform/Platform.h"
#include "player/WindowMessagePlayer.h"
#include "player/WindowedHost.h"
#include "plugin/Plugin.h"
#include "plugin/PluginState.h"

namespace plenvox {

struct WindowsEdition {
  explicit WindowsEdition(Platform& os)
      : state(os), player(os, state.Settings.WinampExe), host(os), plugin(os, state, player, host) {}

  TPluginState state;
  WindowMessagePlayer player;
  WindowedHost host;
  Plugin plugin;
};

}  // namespace plenvox
