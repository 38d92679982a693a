// The plug-in's one handle on the player's playlist file, with the rules of its
// binding: a listing binds it to the playlist in use (TPluginState::PlaylistPath, in the
// encoding of the settings as loaded) and keeps it open from FsFindFirst to
// FsFindClose; an edit batch or a command binds it again before its lookups; closing
// it when it is done never fails towards the caller, since a file that was only read
// holds nothing of the user's that a failed close could lose.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "playlist/PlaylistFile.h"
#include "plugin/PluginState.h"

namespace plenvox {

class PlaylistHandle {
 public:
  PlaylistHandle(Platform& os, const TPluginState& state) : os_(os), state_(state), file_(os) {}

  // For a listing: bound to the playlist in use, open, the header line read past.
  void OpenForListing();
  // Bound to the playlist in use again (closed), whatever it was bound to before.
  void Rebind();
  void CloseQuietly() noexcept;

  // The number of the first entry named name in the bound file, which stays open;
  // raises IoError when the file cannot be read. The lookups of one edit batch read the
  // file once: the first takes in the number of every entry and the others look there,
  // until the entries are forgotten (at a batch's start and end, and with every new
  // binding), since the player rewrites the file only between batches.
  std::int32_t Find(const std::string& name);
  void ForgetEntries();
  // Find on a fresh binding, closed again afterwards (also when the lookup fails).
  std::int32_t FindOnce(const std::string& name);
  // The duplicate test of an add batch: whether the playlist file, as the player last
  // wrote it, holds path. It reads through the binding of the last listing; without a
  // usable binding it binds to the playlist in use itself. A playlist file that cannot be
  // read holds nothing yet.
  bool Holds(const std::string& path);

  PlaylistFile& File() { return file_; }
  const PlaylistFile& File() const { return file_; }

 private:
  bool Contains(const std::string& path);
  void BindToPlaylistInUse();
  bool BoundToPlaylistInUse() const;

  Platform& os_;
  const TPluginState& state_;
  PlaylistFile file_;
  std::optional<TEntryNumbers> entries_;  // of the bound file, once read
};

}  // namespace plenvox
