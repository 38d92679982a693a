// Nothing the user owns is lost: the player's playlist is cleared only once the
// filtered copy that replaces it has been written completely, and a batch whose
// temporary playlist cannot be written sends the player nothing.
#include "plugin/EditBatches.h"

#include "common/TextEncoding.h"
#include "plugin/EntryName.h"
#include "plugin/ExtensionFilter.h"
#include "plugin/HostInterface.h"
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

bool IsCopyOut(int operation) {
  return operation == wfx::kOpGetSingle || operation == wfx::kOpGetMulti ||
         operation == wfx::kOpGetMultiThread;
}

}  // namespace

void EditBatches::StatusInfo(int startEnd, int operation) {
  if (startEnd == wfx::kStatusStart) StartOperation(operation);
  if (startEnd == wfx::kStatusEnd) EndOperation(operation);
}

void EditBatches::StartOperation(int operation) {
  playlist_.ForgetEntries();
  switch (operation) {
    case wfx::kOpList:
      player_.WritePlaylist();  // so that the listing reads the current playlist
      state_.AskPlayerForPlaylistFolder(player_);
      break;
    case wfx::kOpPutMulti:
      StartAddBatch();
      break;
    case wfx::kOpDelete:
      StartDeleteBatch();
      break;
    case wfx::kOpGetSingle:
    case wfx::kOpGetMulti:
    case wfx::kOpGetMultiThread:
      copyingOut_ = true;  // a delete batch starts only if an entry is moved out
      break;
    default:
      break;
  }
}

void EditBatches::EndOperation(int operation) {
  // An end without its start has no batch to apply.
  if (operation == wfx::kOpPutMulti && pendingAdds_) EndAddBatch();
  if (operation == wfx::kOpDelete && pendingDeletes_) EndDeleteBatch();
  if (IsCopyOut(operation)) {
    copyingOut_ = false;
    if (pendingDeletes_) EndDeleteBatch();
  }
}

void EditBatches::FinishBatch() {
  playlist_.ForgetEntries();
  // Also after a partial write; the outcome is ignored.
  os_.DeleteFile(PlaylistEncoding(), state_.Settings.TempPlaylist);
  host_.Refresh();
}

// --- Adding ----------------------------------------------------------------------

void EditBatches::PutFile(const std::optional<std::string>& localName) noexcept {
  InBatch(
      pendingAdds_, [this] { StartAddBatch(); }, [&] { CollectAddition(localName); },
      [this] { EndAddBatch(); });
}

void EditBatches::StartAddBatch() { pendingAdds_ = std::make_unique<TDynamicArray>(); }

void EditBatches::CollectAddition(const std::optional<std::string>& localName) {
  if (!localName) return;
  const TSettings& settings = state_.Settings;
  const TTextEncoding encoding = PlaylistEncoding();
  if (settings.DisableMulti && playlist_.Holds(CutName(encoding, *localName))) return;
  if (ExtAllowed(os_, encoding, settings, ExtensionOf(*localName))) pendingAdds_->Add(*localName);
}

void EditBatches::EndAddBatch() {
  const auto adds = std::move(pendingAdds_);  // the batch's list ends with this call
  const TSettings& settings = state_.Settings;
  playlist_.CloseQuietly();
  const bool written = Completed([&] {
    WriteAdditions(os_, PlaylistEncoding(), settings.TempPlaylist, *adds, settings.BlockDead);
  });
  if (written) {
    player_.AddToPlaylist(settings.TempPlaylist);
    player_.WritePlaylist();
  }
  FinishBatch();
}

// --- Removing --------------------------------------------------------------------

void EditBatches::DeleteFile(const std::optional<std::string>& remoteName) noexcept {
  InBatch(
      pendingDeletes_, [this] { StartDeleteBatch(); }, [&] { CollectDeletion(remoteName); },
      [this] { EndDeleteBatch(); });
}

void EditBatches::RemoveMovedEntry(const std::string& remoteName) noexcept {
  if (copyingOut_ && !pendingDeletes_) {
    try {
      StartDeleteBatch();
    } catch (...) {
      pendingDeletes_.reset();  // the entry stays; its file has been copied all the same
      return;
    }
  }
  DeleteFile(remoteName);
}

void EditBatches::StartDeleteBatch() {
  // The playlist file written here is the one that every lookup of the batch and the
  // filtered copy read: nothing rewrites it before the batch ends.
  savedPosition_ = player_.WritePlaylist();
  state_.AskPlayerForPlaylistFolder(player_);
  pendingDeletes_ = std::make_unique<TDynamicArray>();
  playlist_.Rebind();
}

void EditBatches::CollectDeletion(const std::optional<std::string>& remoteName) {
  if (remoteName) pendingDeletes_->Add(EntryPathOf(*remoteName, PlaylistEncoding()));
}

void EditBatches::EndDeleteBatch() {
  const auto deletes = std::move(pendingDeletes_);  // the batch's list ends with this call
  const std::string& temp = state_.Settings.TempPlaylist;
  const bool written = Completed([&] {
    TRemovalNames removals(deletes->Items(), playlist_.File().Encoding());
    WriteFilteredCopy(os_, temp, playlist_.File(), removals);
  });
  // Closed before the player rewrites the file that it reads.
  playlist_.CloseQuietly();
  if (written) {
    player_.ClearPlaylist();
    player_.WritePlaylist();
    player_.AddToPlaylist(temp);
    // Restored as it was: removed entries before it are not counted off.
    player_.SetPlaylistPosition(savedPosition_);
    player_.WritePlaylist();
  }
  FinishBatch();
}

}  // namespace plenvox
