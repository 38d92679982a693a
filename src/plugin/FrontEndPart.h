// What the listing, the edit batches and the commands work over: the platform, the
// shared state, the one playlist handle, and the player and host of the edition.
#pragma once

#include "platform/Platform.h"
#include "player/Host.h"
#include "player/Player.h"
#include "plugin/PlaylistHandle.h"
#include "plugin/PluginState.h"

namespace plenvox {

class FrontEndPart {
 public:
  FrontEndPart(Platform& os, TPluginState& state, PlaylistHandle& playlist, Player& player,
               Host& host)
      : os_(os), state_(state), playlist_(playlist), player_(player), host_(host) {}

 protected:
  // The encoding of the playlist in use, which the settings were loaded in (see
  // Plugin.h): of its lines, of its entries' paths and of the names that the host hands
  // back for them.
  TTextEncoding PlaylistEncoding() const { return state_.Encoding; }

  Platform& os_;
  TPluginState& state_;
  PlaylistHandle& playlist_;
  Player& player_;
  Host& host_;
};

}  // namespace plenvox
