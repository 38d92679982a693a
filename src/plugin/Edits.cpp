// Batched playlist edits: files copied into the folder are added, deleted items are
// removed. During a batch the changes are only collected; at its end one temporary
// playlist carries them all to the player.
//
// Nothing the user owns is lost: the player's playlist is cleared only once the
// filtered copy that replaces it has been written completely, and a batch whose
// temporary playlist cannot be written sends the player nothing.
#include "common/Text.h"
#include "plugin/ExtensionFilter.h"
#include "plugin/Plugin.h"
#include "plugin/Wfx.h"
#include "playlist/IoError.h"
#include "playlist/TempPlaylist.h"

namespace plenvox {

namespace {

// Runs a writer of the temporary playlist; false when it did not finish, for whatever
// reason, so that the caller sends the player nothing built on a partial file.
template <typename Write>
bool Completed(Write write) noexcept {
  try {
    write();
    return true;
  } catch (...) {
    return false;
  }
}

// One put or delete: inside the batch that the host opened, or, when it opened none
// (a single file's copy comes wrapped in an operation of its own), as a batch of its
// own that starts and ends around it. A failure drops such a batch of its own and
// goes no further: the host is told that the step succeeded either way.
template <typename List, typename Start, typename Step, typename End>
void InBatch(std::unique_ptr<List>& batch, Start start, Step step, End end) noexcept {
  const bool ownBatch = !batch;
  try {
    if (ownBatch) start();
    step();
    if (ownBatch) end();
  } catch (...) {
    if (ownBatch) batch.reset();
  }
}

}  // namespace

void Plugin::FsStatusInfo(int startEnd, int operation) noexcept {
  try {
    if (startEnd == wfx::kStatusStart) StartOperation(operation);
    if (startEnd == wfx::kStatusEnd) EndOperation(operation);
  } catch (...) {
    // Nothing reaches the host.
  }
}

void Plugin::StartOperation(int operation) {
  switch (operation) {
    case wfx::kOpList:
      player_.WritePlaylist();  // so that the listing reads the current playlist
      break;
    case wfx::kOpPutMulti:
      StartAddBatch();
      break;
    case wfx::kOpDelete:
      StartDeleteBatch();
      break;
    default:
      break;
  }
}

void Plugin::EndOperation(int operation) {
  // An end without its start has no batch to apply.
  if (operation == wfx::kOpPutMulti && pendingAdds_) EndAddBatch();
  if (operation == wfx::kOpDelete && pendingDeletes_) EndDeleteBatch();
}

void Plugin::BindPlaylist() {
  ClosePlaylistQuietly();
  playlistFile_.Bind(settings_.WinampPlaylist);
}

void Plugin::FinishBatch() {
  os_.DeleteFile(settings_.TempPlaylist);  // also after a partial write; outcome ignored
  player_.RefreshHost();
}

// --- Adding ----------------------------------------------------------------------

int Plugin::FsPutFile(const std::string& localName) noexcept {
  InBatch(
      pendingAdds_, [this] { StartAddBatch(); }, [&] { CollectAddition(localName); },
      [this] { EndAddBatch(); });
  return wfx::kFileOk;
}

void Plugin::StartAddBatch() { pendingAdds_ = std::make_unique<TDynamicArray>(); }

void Plugin::CollectAddition(const std::string& localName) {
  if (settings_.DisableMulti && InPlaylistAlready(CutShort(localName))) return;
  if (ExtAllowed(os_, settings_, ExtensionOf(localName))) pendingAdds_->Add(localName);
}

// The duplicate test reads the playlist file as the player last wrote it, through the
// binding of the last listing. Without a usable binding it looks at WinampPlaylist
// itself; a playlist file that cannot be read holds nothing yet.
bool Plugin::InPlaylistAlready(const std::string& path) {
  const auto lookUp = [&]() -> std::int32_t {
    try {
      return FindEntry(playlistFile_, path);
    } catch (const IoError&) {
      return -1;
    }
  };
  if (playlistFile_.IsBound()) {
    if (lookUp() != -1) return true;
    if (playlistFile_.Path() == settings_.WinampPlaylist) return false;
  }
  BindPlaylist();
  return lookUp() != -1;
}

void Plugin::EndAddBatch() {
  const auto adds = std::move(pendingAdds_);  // the batch's list ends with this call
  ClosePlaylistQuietly();
  if (Completed([&] { WriteAdditions(os_, settings_, *adds); })) {
    player_.AddToPlaylist(settings_.TempPlaylist);
    player_.WritePlaylist();
  }
  FinishBatch();
}

// --- Removing --------------------------------------------------------------------

int Plugin::FsDeleteFile(const std::string& remoteName) noexcept {
  InBatch(
      pendingDeletes_, [this] { StartDeleteBatch(); }, [&] { CollectDeletion(remoteName); },
      [this] { EndDeleteBatch(); });
  return wfx::kTrue;
}

void Plugin::StartDeleteBatch() {
  // The playlist file written here is the one that every lookup of the batch and the
  // filtered copy read: nothing rewrites it before the batch ends.
  savedPosition_ = player_.WritePlaylist();
  pendingDeletes_ = std::make_unique<TDynamicArrayI>();
  BindPlaylist();
}

void Plugin::CollectDeletion(const std::string& remoteName) {
  std::int32_t number = -1;
  try {
    number = FindEntry(playlistFile_, EntryPathOf(remoteName));
  } catch (const IoError&) {
    // Unreadable now means unreadable for the filtered copy too: the batch then
    // leaves the player's playlist alone.
  }
  if (number != -1) pendingDeletes_->Add(number);
}

void Plugin::EndDeleteBatch() {
  const auto deletes = std::move(pendingDeletes_);  // the batch's list ends with this call
  const bool written =
      Completed([&] { WriteFilteredCopy(os_, settings_, playlistFile_, *deletes); });
  // Closed before the player rewrites the file that it reads.
  ClosePlaylistQuietly();
  if (written) {
    player_.ClearPlaylist();
    player_.WritePlaylist();
    player_.AddToPlaylist(settings_.TempPlaylist);
    // Restored as it was: removed entries before it are not counted off.
    player_.SetPlaylistPosition(savedPosition_);
    player_.WritePlaylist();
  }
  FinishBatch();
}

}  // namespace plenvox
