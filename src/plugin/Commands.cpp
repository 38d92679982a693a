#include "plugin/Commands.h"

#include "common/FileNames.h"
#include "common/Path.h"
#include "common/Text.h"
#include "plugin/EntryName.h"
#include "plugin/HostInterface.h"

namespace plenvox {

namespace {

// The save command writes the saved playlist into the folder that the user picks, and
// "?" stands for a cancelled picker.
constexpr const char* kSaveCommand = "save";
constexpr const char* kSaveTitle = "Save playlist";
constexpr const char* kCancelledFolder = "?";

// The word is matched without regard to the case of A to Z.
bool IsSaveCommand(const std::string& verb) {
  return ReplaceAll(LowerAscii(verb), wfx::kVerbQuotePrefix, "") == kSaveCommand;
}

}  // namespace

int Commands::ExecuteFile(const std::optional<std::string>& remoteName, const std::string& verb) {
  const TSettings& settings = state_.Settings;
  if (!settings.Valid) return wfx::kExecError;

  // The save command goes on to the tests below, none of which it matches.
  if (IsSaveCommand(verb)) SavePlaylistCopy();

  if (remoteName && CutShort(*remoteName) == kRootPath) {
    player_.WritePlaylist();
    if (verb == wfx::kVerbProperties) {
      if (settings.SettingsProgram.empty()) return wfx::kExecError;
      os_.StartProgram(settings.SettingsProgram, "");
      return wfx::kExecOk;
    }
  }

  if (state_.ListedRoot()) {
    if (verb == wfx::kVerbOpen) PlayEntry(remoteName);
    if (verb == wfx::kVerbProperties && remoteName) os_.StartProgram(settings.Editor, *remoteName);
  }
  return wfx::kExecOk;
}

void Commands::SavePlaylistCopy() {
  player_.WritePlaylist();  // so that the copy is current
  const std::string folder = BrowseFolder(kSaveTitle);
  if (folder == kCancelledFolder) return;
  // The UTF-8 playlist is saved as "Plenvox.m3u8", byte for byte.
  const TTextEncoding encoding = PlaylistEncoding();
  const std::string saved = PlaylistFileName(kSavedPlaylistFile, encoding);
  os_.CopyFile(encoding, state_.PlaylistPath(os_), JoinPath(folder, saved, os_.PathSeparator()),
               true);
}

std::string Commands::BrowseFolder(const std::string& title) {
  const auto folder = host_.ChooseFolder(title);
  // A chosen item without a path is no folder to write to.
  return folder && !folder->empty() ? *folder : kCancelledFolder;
}

void Commands::PlayEntry(const std::optional<std::string>& remoteName) {
  player_.WritePlaylist();
  const std::int32_t number =
      remoteName ? playlist_.FindOnce(EntryPathOf(*remoteName, PlaylistEncoding())) : -1;
  // Sent as found, also -1 for a name that the playlist does not hold.
  player_.SetPlaylistPosition(number);
  player_.Stop();
  player_.Play();
}

}  // namespace plenvox
