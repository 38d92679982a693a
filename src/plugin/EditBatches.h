// Batched playlist edits: files copied into the folder are added, deleted items are
// removed. Between the host's start and end of an operation the changes are only
// collected; at its end one temporary playlist carries them all to the player. A batch
// works in the encoding of the playlist in use (temp.m3u or temp.m3u8, see Plugin.h):
// the names that it is handed come in that encoding.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "playlist/DynamicArray.h"
#include "plugin/FrontEndPart.h"

namespace plenvox {

// The number of the current entry after the entries numbered removed (ascending) have
// left a playlist of entries entries whose current entry was current: the same entry,
// counted off for the removed ones before it; when it was removed itself, the entry that
// followed it; when nothing follows (it was the last entry, or every entry after it went
// too), the first entry, as a repeating playlist goes on. 0 when no entry is left.
std::int32_t PositionAfterRemoval(std::int32_t current, const std::vector<std::int32_t>& removed,
                                  std::int32_t entries);

class EditBatches : FrontEndPart {
 public:
  using FrontEndPart::FrontEndPart;

  void StatusInfo(int startEnd, int operation);
  // One file to add, or one entry to remove: inside the batch that the host opened, or
  // as a batch of its own. Never raises. A name that the host gave in characters that
  // the playlist's encoding cannot hold comes as nothing: that file is refused (as the
  // filter refuses one), that name removes nothing (as a name that no entry has).
  void PutFile(const std::optional<std::string>& localName) noexcept;
  void DeleteFile(const std::optional<std::string>& remoteName) noexcept;
  // An entry whose file was moved out of the folder leaves the playlist as a deleted one
  // does: through one delete batch for the host's whole copy operation (started at the
  // first moved entry, applied at the operation's end), or as a batch of its own when no
  // operation is open. Never raises.
  void RemoveMovedEntry(const std::string& remoteName) noexcept;

 private:
  void StartOperation(int operation);
  void EndOperation(int operation);
  void StartAddBatch();
  void CollectAddition(const std::optional<std::string>& localName);
  void EndAddBatch();
  void StartDeleteBatch();
  void CollectDeletion(const std::optional<std::string>& remoteName);
  void EndDeleteBatch();
  void FinishBatch();

  // The open batch, if any: each list exists from the start to the end of its batch.
  std::unique_ptr<TDynamicArray> pendingAdds_;
  // The entries to remove, by name: they are found while the filtered copy is written,
  // in one reading of the playlist file (which nothing rewrites during the batch).
  std::unique_ptr<TDynamicArray> pendingDeletes_;
  // The player's position when the last delete batch started, and whether the playlist
  // that the batch reads is the one that the player wrote then.
  std::int32_t savedPosition_ = 0;
  bool readsWrittenPlaylist_ = false;
  // Between the start and the end of the host's operation that copies files out.
  bool copyingOut_ = false;
};

}  // namespace plenvox
