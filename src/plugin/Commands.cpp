// Commands on the folder and its entries: save the playlist (typed on the host's
// command line), the settings program (properties of the folder), play an entry
// (open), and the editor (properties of an entry).
#include "common/Text.h"
#include "plugin/Plugin.h"
#include "plugin/Wfx.h"
#include "playlist/IoError.h"

namespace plenvox {

namespace {

// Typed commands arrive as "quote " and the text; the save command writes "Plenvox.m3u"
// into the folder that the user picks, and "?" stands for a cancelled picker.
constexpr const char* kVerbPrefix = "quote ";
constexpr const char* kSaveCommand = "save";
constexpr const char* kSaveTitle = "Save playlist";
constexpr const char* kSavedPlaylistName = "Plenvox.m3u";
constexpr const char* kCancelledFolder = "?";
constexpr const char* kVerbOpen = "open";
constexpr const char* kVerbProperties = "properties";

// The word is matched without regard to the case of A to Z.
bool IsSaveCommand(const std::string& verb) {
  return ReplaceAll(LowerAscii(verb), kVerbPrefix, "") == kSaveCommand;
}

std::string SavedPlaylistPath(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder + kSavedPlaylistName;
}

}  // namespace

int Plugin::FsExecuteFile(const std::string& remoteName, const std::string& verb) noexcept {
  try {
    return ExecuteFile(remoteName, verb);
  } catch (const IoError&) {
    return wfx::kExecOk;
  } catch (...) {
    return wfx::kExecError;
  }
}

int Plugin::ExecuteFile(const std::string& remoteName, const std::string& verb) {
  if (!settings_.Valid) return wfx::kExecError;

  // The save command goes on to the tests below, none of which it matches.
  if (IsSaveCommand(verb)) SavePlaylistCopy();

  if (CutShort(remoteName) == kRootPath) {
    player_.WritePlaylist();
    if (verb == kVerbProperties) {
      if (settings_.SettingsProgram.empty()) return wfx::kExecError;
      os_.StartProgram(settings_.SettingsProgram, "");
      return wfx::kExecOk;
    }
  }

  // Entries exist only while the last listing was of the root.
  if (currentPath_ == kRootPath) {
    if (verb == kVerbOpen) PlayEntry(remoteName);
    if (verb == kVerbProperties) os_.StartProgram(settings_.Editor, remoteName);
  }
  return wfx::kExecOk;
}

void Plugin::SavePlaylistCopy() {
  player_.WritePlaylist();  // so that the copy is current
  const std::string folder = BrowseFolder(kSaveTitle);
  if (folder == kCancelledFolder) return;
  os_.CopyFile(settings_.WinampPlaylist, SavedPlaylistPath(folder), true);
}

std::string Plugin::BrowseFolder(const std::string& title) {
  const auto folder = os_.BrowseForFolder(player_.HostWindow(), title);
  // A chosen item without a path is no folder to write to.
  return folder && !folder->empty() ? *folder : kCancelledFolder;
}

void Plugin::PlayEntry(const std::string& remoteName) {
  player_.WritePlaylist();
  std::int32_t number = -1;
  try {
    BindPlaylist();
    number = FindEntry(playlistFile_, EntryPathOf(remoteName));
    playlistFile_.Close();
  } catch (const IoError&) {
    ClosePlaylistQuietly();  // no file stays open after the command
    throw;
  }
  // Sent as found, also -1 for a name that the playlist does not hold.
  player_.SetPlaylistPosition(number);
  player_.Stop();
  player_.Play();
}

}  // namespace plenvox
