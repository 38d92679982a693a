#include "plugin/Listing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/MPEGaudio.h"
#include "common/FileNames.h"
#include "common/Path.h"
#include "common/Text.h"
#include "plugin/HostInterface.h"

namespace plenvox {

namespace {

void WriteName(const std::string& path, TFindData& record) {
  // Copied by the library (which inlined copies of a length known only at run time do
  // with a slow string instruction): the name is the most of what a listing writes.
  const std::size_t length = path.copy(record.FileName, kShortStringMax);
  record.FileName[length] = '\0';
}

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

std::intptr_t Listing::FindFirst(const std::string& path, TFindData& record) {
  state_.ReloadSettings(os_);
  state_.CurrentPath = CutShort(path);
  os_.SetLastError(kErrorNoMoreFiles);
  const TSettings& settings = state_.Settings;
  if (!settings.Valid) {
    ShowFirstRunMessage();
    return EmptyFolder();
  }
  if (!os_.FileExists(settings.WinampPlaylist) || path != kRootPath) return EmptyFolder();

  playlist_.OpenForListing();
  ReadEntry(playlist_.File(), entry_);
  FillRecord(entry_, record, true);
  if (record.FileName[0] == '\0') {
    playlist_.File().Close();
    return EmptyFolder();
  }
  return wfx::kSearchHandle;
}

void Listing::ShowFirstRunMessage() {
  host_.ShowMessage(kFirstRunText, kFirstRunCaption);
  os_.StartProgram(FolderOf(state_.ModulePath) + std::string(kSettingsProgramFile), "");
}

bool Listing::FindNext(TFindData& record) {
  if (!state_.ListedRoot()) return false;
  PlaylistFile& file = playlist_.File();
  if (!file.IsOpen() || file.Eof()) return false;
  ReadEntry(file, entry_);
  FillRecord(entry_, record, false);
  return true;
}

void Listing::FillRecord(const std::string& path, TFindData& record, bool first) {
  switch (state_.Settings.DisplayMode) {
    case TDisplayMode::NameOnly:
      record.FileAttributes = 0;
      if (first) record.CreationTime = TFileTime{0, 0};
      record.FileSizeHigh = 0;
      record.FileSizeLow = 0;
      break;
    case TDisplayMode::FileData:
      os_.FindFile(path, record);
      break;
    case TDisplayMode::PlayTime: {
      const double seconds = FindFileAndPlayTime(path, record);
      record.FileSizeHigh = 0;
      record.FileSizeLow = WholeSeconds(seconds);
      break;
    }
    default:
      // Other modes leave the record as the host passed it.
      return;
  }
  WriteName(path, record);
}

double Listing::FindFileAndPlayTime(const std::string& path, TFindData& record) {
  if (os_.FindFile(path, record)) return analyses_.PlayTime(path, record);
  TMPEGaudio analyser(os_);
  analyser.LoadFromFile(path);
  return analyser.PlayTime();
}

}  // namespace plenvox
