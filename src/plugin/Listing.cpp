#include "plugin/Listing.h"

#include <algorithm>
#include <cmath>

#include "audio/DescribeAudio.h"
#include "common/FileNames.h"
#include "common/Path.h"
#include "common/Text.h"
#include "plugin/HostInterface.h"

namespace plenvox {

namespace {

// The play time in whole seconds, truncated toward zero, as the size field holds it.
std::uint32_t WholeSeconds(double seconds) {
  if (!std::isfinite(seconds) || seconds <= -9.2e18 || seconds >= 9.2e18) return 0;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(seconds));
}

// What an entry shows of a file that it does not have: no attributes, no time, no
// size, no short name. The host reuses its record for the items of a listing, so a
// field left alone would show another entry's value.
void SetNoFile(TFileRecord& file) {
  file.FileAttributes = 0;
  file.CreationTime = wfx::kNoFileTime;
  file.LastAccessTime = wfx::kNoFileTime;
  file.LastWriteTime = wfx::kNoFileTime;
  file.FileSizeHigh = 0;
  file.FileSizeLow = 0;
  file.Reserved0 = 0;
  file.Reserved1 = 0;
  file.AlternateFileName.clear();
}

}  // namespace

std::intptr_t Listing::EmptyFolder() {
  os_.SetLastError(kErrorNoMoreFiles);
  return wfx::kInvalidHandle;
}

std::intptr_t Listing::NoFirstEntry() {
  playlist_.File().Close();
  columns_.Publish();
  return EmptyFolder();
}

void Listing::Close() { columns_.Publish(); }

std::intptr_t Listing::FindFirst(const std::string& path, TListedItem& item) {
  state_.CurrentPath = CutShort(path);
  os_.SetLastError(kErrorNoMoreFiles);
  if (!state_.Settings.Valid) {
    ShowFirstRunMessage();
    return EmptyFolder();
  }
  if (!os_.FileExists(PlaylistEncoding(), state_.PlaylistPath(os_)) || path != kRootPath) {
    return EmptyFolder();
  }

  analyses_.UseTagCodePage(state_.Settings.TagCodePage);
  playlist_.OpenForListing();
  const TDisplayMode mode = state_.Settings.DisplayMode;
  columns_.Begin(playlist_.File().Path(), playlist_.File().Encoding(),
                 mode == TDisplayMode::FileData || mode == TDisplayMode::PlayTime);
  ReadEntry(playlist_.File(), entry_);
  FillItem(entry_, item);
  return wfx::kSearchHandle;
}

void Listing::ShowFirstRunMessage() {
  host_.ShowMessage(state_.FirstRunText, kFirstRunCaption);
  if (state_.FirstRunProgram.empty()) return;
  os_.StartProgram(FolderOf(state_.ModulePathInUse()) + state_.FirstRunProgram, "");
}

bool Listing::FindNext(TListedItem& item) {
  if (!state_.ListedRoot()) return false;
  PlaylistFile& file = playlist_.File();
  if (!file.IsOpen() || file.Eof()) {
    columns_.Publish();
    return false;
  }
  ReadEntry(file, entry_);
  FillItem(entry_, item);
  return true;
}

void Listing::FillItem(std::string& path, TListedItem& item) {
  const TDisplayMode mode = state_.Settings.DisplayMode;
  if (mode != TDisplayMode::NameOnly && mode != TDisplayMode::FileData &&
      mode != TDisplayMode::PlayTime) {
    // Other modes leave the record as the host passed it.
    item.Written = 0;
    return;
  }
  // Every field is written: the file's values where the mode shows them and the file is
  // there, "none" for the rest.
  item.Written = TListedItem::kFileFields;
  SetNoFile(item.File);
  if (mode == TDisplayMode::FileData) {
    const bool found = NamesAFile(path) && os_.FindFile(Encoding(), path, item.File);
    columns_.Looked(found ? &item.File : nullptr);
  } else if (mode == TDisplayMode::PlayTime) {
    const double seconds = FindFileAndPlayTime(path, item);
    item.File.FileSizeHigh = 0;
    item.File.FileSizeLow = WholeSeconds(seconds);
  }
  item.Written |= TListedItem::kName;
  // A path that is its own name changes rooms with the item's name rather than being
  // copied: the next entry is read into the room that the last name had.
  const std::string_view name = NamePrefix(Encoding(), path);
  if (name.size() == path.size()) {
    item.Name.swap(path);
  } else {
    item.Name.assign(name);
  }
}

TTextEncoding Listing::Encoding() const { return playlist_.File().Encoding(); }

bool Listing::NamesAFile(const std::string& path) const {
  return !LostACharacter(os_, Encoding(), path);
}

double Listing::FindFileAndPlayTime(const std::string& path, TListedItem& item) {
  // Neither looked up nor analysed: its "?" would match other files.
  if (!NamesAFile(path)) {
    columns_.Looked(nullptr);
    return 0;
  }
  if (os_.FindFile(Encoding(), path, item.File)) {
    columns_.Looked(&item.File);
    return analyses_.PlayTime(path, item.File, Encoding());
  }
  columns_.Looked(nullptr);
  return DescribeAudioFile(os_, Encoding(), path, TCodePageTagText(os_, state_.Settings.TagCodePage))
      .PlayTime;
}

}  // namespace plenvox
