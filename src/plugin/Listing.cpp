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
  if (!os_.FileExists(state_.PlaylistPath(os_)) || path != kRootPath) return EmptyFolder();

  analyses_.UseTagCodePage(state_.Settings.TagCodePage);
  playlist_.OpenForListing();
  const TDisplayMode mode = state_.Settings.DisplayMode;
  columns_.Begin(playlist_.File().Path(), playlist_.File().Encoding(),
                 mode == TDisplayMode::FileData || mode == TDisplayMode::PlayTime);
  ReadEntry(playlist_.File(), entry_);
  FillItem(entry_, true, item);
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
  FillItem(entry_, false, item);
  return true;
}

void Listing::FillItem(std::string& path, bool first, TListedItem& item) {
  item.Written = 0;
  item.File.FileAttributes = 0;
  item.File.CreationTime = TFileTime{0, 0};
  item.File.FileSizeHigh = 0;
  item.File.FileSizeLow = 0;
  switch (state_.Settings.DisplayMode) {
    case TDisplayMode::NameOnly:
      // The values are zero: attributes, sizes and, for the first item, its creation time.
      item.Written = TListedItem::kAttributes | TListedItem::kSizes |
                     (first ? TListedItem::kCreationTime : 0u);
      break;
    case TDisplayMode::FileData:
      if (os_.FindFile(path, item.File)) item.Written = TListedItem::kFileFields;
      KeepForColumns(item);
      break;
    case TDisplayMode::PlayTime: {
      const double seconds = FindFileAndPlayTime(path, item);
      KeepForColumns(item);
      item.Written |= TListedItem::kSizes;
      item.File.FileSizeHigh = 0;
      item.File.FileSizeLow = WholeSeconds(seconds);
      break;
    }
    default:
      // Other modes leave the record as the host passed it.
      return;
  }
  item.Written |= TListedItem::kName;
  // A path that is its own name changes rooms with the item's name rather than being
  // copied: the next entry is read into the room that the last name had.
  const std::string_view name = NamePrefix(state_.Encoding, path);
  if (name.size() == path.size()) {
    item.Name.swap(path);
  } else {
    item.Name.assign(name);
  }
}

double Listing::FindFileAndPlayTime(const std::string& path, TListedItem& item) {
  if (os_.FindFile(path, item.File)) {
    item.Written = TListedItem::kFileFields;
    return analyses_.PlayTime(path, item.File);
  }
  return DescribeAudioFile(os_, os_.TextEncoding(), path, TCodePageTagText(os_, state_.Settings.TagCodePage))
      .PlayTime;
}

void Listing::KeepForColumns(const TListedItem& item) {
  columns_.Looked(item.Writes(TListedItem::kSizes) ? &item.File : nullptr);
}

}  // namespace plenvox
