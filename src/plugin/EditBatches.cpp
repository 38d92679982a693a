// Nothing the user owns is lost: the player's playlist is cleared only once the
// filtered copy that replaces it has been written completely, and a batch whose
// temporary playlist cannot be written, or that read a playlist other than the one the
// player has just written, sends the player nothing.
#include "plugin/EditBatches.h"

#include <algorithm>

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

// The removals of a filtered copy, with the numbers of the entries they left out and the
// number of entries that the copy read.
class CountedRemovals : public TRemovals {
 public:
  explicit CountedRemovals(TRemovals& removals) : removals_(removals) {}
  bool Removes(std::int32_t number, std::string_view pathLine) override {
    entries = std::max(entries, number + 1);
    if (!removals_.Removes(number, pathLine)) return false;
    removed.push_back(number);
    return true;
  }

  std::vector<std::int32_t> removed;  // ascending, as the copy reads the entries in order
  std::int32_t entries = 0;

 private:
  TRemovals& removals_;
};
bool IsCopyOut(int operation) {
  return operation == wfx::kOpGetSingle || operation == wfx::kOpGetMulti ||
         operation == wfx::kOpGetMultiThread;
}

}  // namespace

std::int32_t PositionAfterRemoval(std::int32_t current, const std::vector<std::int32_t>& removed,
                                  std::int32_t entries) {
  const auto kept = entries - static_cast<std::int32_t>(removed.size());
  if (kept <= 0 || current < 0) return 0;
  const auto before = static_cast<std::int32_t>(
      std::lower_bound(removed.begin(), removed.end(), current) - removed.begin());
  const bool currentRemoved = std::binary_search(removed.begin(), removed.end(), current);
  // The entries after the current one close up behind it: whether it stayed or went, the
  // entry that is current now has this number.
  const std::int32_t position = current - before;
  return currentRemoved && position >= kept ? 0 : position;
}

void EditBatches::StatusInfo(int startEnd, int operation) {
  if (startEnd == wfx::kStatusStart) StartOperation(operation);
  if (startEnd == wfx::kStatusEnd) EndOperation(operation);
}

void EditBatches::StartOperation(int operation) {
  playlist_.ForgetEntries();
  switch (operation) {
    case wfx::kOpList:
      state_.WritePlayerPlaylist(os_, player_);  // so that the listing reads the current playlist
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
  savedPosition_ = state_.WritePlayerPlaylist(os_, player_);
  readsWrittenPlaylist_ = state_.PlaylistJustWritten();
  pendingDeletes_ = std::make_unique<TDynamicArray>();
  playlist_.Rebind();
}

void EditBatches::CollectDeletion(const std::optional<std::string>& remoteName) {
  if (remoteName) pendingDeletes_->Add(EntryPathOf(*remoteName, PlaylistEncoding()));
}

void EditBatches::EndDeleteBatch() {
  const auto deletes = std::move(pendingDeletes_);  // the batch's list ends with this call
  const std::string& temp = state_.Settings.TempPlaylist;
  std::vector<std::int32_t> removed;
  std::int32_t entries = 0;
  // A playlist that the player did not just write is no base for the player's new one.
  const bool written = readsWrittenPlaylist_ && Completed([&] {
    TRemovalNames names(deletes->Items(), playlist_.File().Encoding());
    CountedRemovals removals(names);
    WriteFilteredCopy(os_, temp, playlist_.File(), removals);
    removed = std::move(removals.removed);
    entries = removals.entries;
  });
  // Closed before the player rewrites the file that it reads.
  playlist_.CloseQuietly();
  // A batch that removes nothing leaves the player alone: a rebuild would change nothing
  // but stop what it plays.
  if (written && !removed.empty()) {
    player_.RemoveEntries(removed, temp, PositionAfterRemoval(savedPosition_, removed, entries));
    player_.WritePlaylist();
  }
  FinishBatch();
}

}  // namespace plenvox
