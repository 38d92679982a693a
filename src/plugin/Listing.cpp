// The listing of the virtual folder: one item per playlist entry, named by its path.
#include <cmath>
#include <cstring>

#include "audio/MPEGaudio.h"
#include "common/Text.h"
#include "plugin/Plugin.h"
#include "plugin/Wfx.h"
#include "playlist/IoError.h"

namespace plenvox {

namespace {

void WriteName(const std::string& path, TFindData& record) {
  const std::string name = CutShort(path);
  std::memcpy(record.FileName, name.data(), name.size());
  record.FileName[name.size()] = '\0';
}

// The play time in whole seconds, truncated toward zero, as the size field holds it.
std::uint32_t WholeSeconds(double seconds) {
  if (!std::isfinite(seconds) || seconds <= -9.2e18 || seconds >= 9.2e18) return 0;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(seconds));
}

std::string FolderOf(const std::string& path) {
  const auto separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

std::intptr_t Plugin::FsFindFirst(const std::string& path, TFindData& record) noexcept {
  try {
    return FindFirst(path, record);
  } catch (...) {
    // A playlist file that exists but cannot be opened or read shows as an empty folder.
    ClosePlaylistQuietly();
    return EmptyFolder();
  }
}

std::intptr_t Plugin::EmptyFolder() {
  os_.SetLastError(kErrorNoMoreFiles);
  return wfx::kInvalidHandle;
}

std::intptr_t Plugin::FindFirst(const std::string& path, TFindData& record) {
  LoadSettings(os_, commanderPath_, settings_);
  currentPath_ = CutShort(path);
  os_.SetLastError(kErrorNoMoreFiles);
  if (!settings_.Valid) {
    ShowFirstRunMessage();
    return EmptyFolder();
  }
  if (!os_.FileExists(settings_.WinampPlaylist) || path != kRootPath) return EmptyFolder();

  playlistFile_.Bind(settings_.WinampPlaylist);
  playlistFile_.Open();
  playlistFile_.ReadLine();  // the header, whatever it holds
  FillRecord(ReadEntry(playlistFile_), record, true);
  if (record.FileName[0] == '\0') {
    playlistFile_.Close();
    return EmptyFolder();
  }
  return wfx::kSearchHandle;
}

void Plugin::ShowFirstRunMessage() {
  os_.MessageBox(player_.HostWindow(), kFirstRunText, kFirstRunCaption, kMessageBoxInformation);
  os_.StartProgram(FolderOf(modulePath_) + kSettingsProgramFile, "");
}

bool Plugin::FsFindNext(TFindData& record) noexcept {
  try {
    if (currentPath_ != kRootPath) return false;
    if (!playlistFile_.IsOpen() || playlistFile_.Eof()) return false;
    FillRecord(ReadEntry(playlistFile_), record, false);
    return true;
  } catch (...) {
    // A read failure ends the listing where it is.
    ClosePlaylistQuietly();
    return false;
  }
}

int Plugin::FsFindClose() noexcept {
  ClosePlaylistQuietly();
  return 0;
}

int Plugin::FsGetFile() noexcept {
  // Items are playlist entries, not files of the plug-in: copying them out is not offered.
  return wfx::kFileNotSupported;
}

void Plugin::StatFile(const std::string& path, TFindData& record) { os_.FindFile(path, record); }

void Plugin::FillRecord(const std::string& path, TFindData& record, bool first) {
  switch (settings_.DisplayMode) {
    case 0:
      record.FileAttributes = 0;
      if (first) record.CreationTime = TFileTime{0, 0};
      record.FileSizeHigh = 0;
      record.FileSizeLow = 0;
      break;
    case 1:
      StatFile(path, record);
      break;
    case 2: {
      const double seconds = PlayTimeOf(path);
      StatFile(path, record);
      record.FileSizeHigh = 0;
      record.FileSizeLow = WholeSeconds(seconds);
      break;
    }
    default:
      // Unknown modes leave the record as the host passed it.
      return;
  }
  WriteName(path, record);
}

double Plugin::PlayTimeOf(const std::string& path) {
  // One analyser per entry: nothing of one file's analysis outlives its item. A file
  // that cannot be analysed lists with a play time of 0.
  TMPEGaudio analyser(os_);
  analyser.LoadFromFile(path);
  return analyser.PlayTime();
}

}  // namespace plenvox
