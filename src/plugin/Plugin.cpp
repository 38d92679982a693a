#include "plugin/Plugin.h"

#include <algorithm>
#include <cstring>

#include "plugin/HostInterface.h"
#include "plugin/HostText.h"
#include "plugin/PlaylistChoice.h"
#include "playlist/IoError.h"

namespace plenvox {

Plugin::Plugin(Platform& os, TPluginState& state, Player& player, Host& host)
    : os_(os),
      state_(state),
      player_(player),
      host_(host),
      playlist_(os, state),
      analyses_(os),
      columns_(os, analyses_),
      pictures_(os, columns_.Snapshots(), player),
      listing_(FrontEndPart(os, state, playlist_, player, host), analyses_, columns_.Snapshots()),
      batches_(os, state, playlist_, player, host),
      commands_(os, state, playlist_, player, host) {}

// --- Loads and the choice of encoding ------------------------------------------------

void Plugin::InitPlayer() { state_.WritePlayerPlaylist(os_, player_); }

void Plugin::UseEncodingOfPlaylist() {
  const TTextEncoding chosen = ChoosePlaylistEncoding(os_, os_.ToWide(state_.PlaylistFolder(os_)));
  if (chosen != state_.Encoding) state_.LoadSettingsIn(os_, chosen);
}

int Plugin::FsInit() noexcept {
  try {
    state_.LoadSettingsIn(os_, TTextEncoding::Ansi);
    InitPlayer();
  } catch (...) {
    // Nothing to report: the host's callbacks are not used.
  }
  return 0;
}

int Plugin::FsInitW() noexcept {
  try {
    state_.ReloadSettings(os_);
    InitPlayer();
    // Chosen once the player has written both of its playlist files.
    UseEncodingOfPlaylist();
  } catch (...) {
  }
  return 0;
}

void Plugin::FsGetDefRootName(char* buffer, int size) noexcept {
  try {
    if (buffer && size > 0) {
      const std::size_t room = static_cast<std::size_t>(size) - 1;
      const std::size_t length = std::min(std::strlen(kRootName), room);
      std::memcpy(buffer, kRootName, length);
      buffer[length] = '\0';
    }
    host_.ShowMessage(kAboutText, kAboutCaption);
  } catch (...) {
  }
}

// --- Listing ---------------------------------------------------------------------------

template <typename Record>
std::intptr_t Plugin::FindFirstInto(const std::string& path, Record& record) {
  try {
    const std::intptr_t handle = listing_.FindFirst(path, item_);
    if (handle != wfx::kSearchHandle) return handle;
    WriteItem(os_, item_, record);
    // The playlist holds no entry, or its first is an empty line; in a mode that writes
    // nothing, the name that the host left decides.
    return HasEmptyName(record) ? listing_.NoFirstEntry() : handle;
  } catch (...) {
    // A playlist file that exists but cannot be opened or read shows as an empty folder.
    playlist_.CloseQuietly();
    return listing_.EmptyFolder();
  }
}

template <typename Record>
bool Plugin::FindNextInto(Record& record) {
  try {
    if (!listing_.FindNext(item_)) return false;
    WriteItem(os_, item_, record);
    return true;
  } catch (...) {
    // A read failure ends the listing where it is.
    playlist_.CloseQuietly();
    return false;
  }
}

std::intptr_t Plugin::FsFindFirst(const std::string& path, TFindData& record) noexcept {
  try {
    state_.LoadSettingsIn(os_, TTextEncoding::Ansi);
  } catch (...) {
    return listing_.EmptyFolder();
  }
  return FindFirstInto(path, record);
}

std::intptr_t Plugin::FsFindFirstW(const std::u16string& path, TFindDataW& record) noexcept {
  try {
    // The settings name the playlist folder, whose files decide the encoding.
    state_.ReloadSettings(os_);
    UseEncodingOfPlaylist();
    return FindFirstInto(CoreText(os_, path), record);
  } catch (...) {
    return listing_.EmptyFolder();
  }
}

bool Plugin::FsFindNext(TFindData& record) noexcept { return FindNextInto(record); }
bool Plugin::FsFindNextW(TFindDataW& record) noexcept { return FindNextInto(record); }

int Plugin::FsFindClose() noexcept {
  playlist_.CloseQuietly();
  try {
    listing_.Close();
  } catch (...) {
  }
  return 0;
}

int Plugin::FsGetFile() noexcept {
  // Items are playlist entries, not files of the plug-in: copying them out is not offered.
  return wfx::kFileNotSupported;
}

// --- Edits -------------------------------------------------------------------------------

void Plugin::FsStatusInfo(int startEnd, int operation) noexcept {
  try {
    batches_.StatusInfo(startEnd, operation);
  } catch (...) {
    // Nothing reaches the host.
  }
}

template <typename Text>
int Plugin::PutFile(const Text& localName) noexcept {
  try {
    batches_.PutFile(CoreText(os_, localName));
  } catch (...) {
  }
  return wfx::kFileOk;
}

template <typename Text>
int Plugin::DeleteFile(const Text& remoteName) noexcept {
  try {
    batches_.DeleteFile(CoreText(os_, remoteName));
  } catch (...) {
  }
  return wfx::kTrue;
}

int Plugin::FsPutFile(const std::string& localName) noexcept { return PutFile(localName); }
int Plugin::FsPutFileW(const std::u16string& localName) noexcept { return PutFile(localName); }
int Plugin::FsDeleteFile(const std::string& remoteName) noexcept { return DeleteFile(remoteName); }
int Plugin::FsDeleteFileW(const std::u16string& remoteName) noexcept {
  return DeleteFile(remoteName);
}

// --- Commands ----------------------------------------------------------------------------

template <typename Text>
int Plugin::ExecuteFile(const Text& remoteName, const Text& verb) noexcept {
  try {
    return commands_.ExecuteFile(CoreText(os_, remoteName), CoreText(os_, verb));
  } catch (const IoError&) {
    return wfx::kExecOk;
  } catch (...) {
    return wfx::kExecError;
  }
}

int Plugin::FsExecuteFile(const std::string& remoteName, const std::string& verb) noexcept {
  return ExecuteFile(remoteName, verb);
}

int Plugin::FsExecuteFileW(const std::u16string& remoteName, const std::u16string& verb) noexcept {
  return ExecuteFile(remoteName, verb);
}

}  // namespace plenvox
