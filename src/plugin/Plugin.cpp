#include "plugin/Plugin.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

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
      commands_(os, state, playlist_, player, host),
      copyOut_(os, state, playlist_, player, host) {}

// --- Loads and the choice of encoding ------------------------------------------------

void Plugin::InitPlayer() { state_.WritePlayerPlaylist(os_, player_); }

void Plugin::UseEncodingOfPlaylist() {
  // Chosen over the settings as just loaded in UTF-8, and the folder that the player
  // reported as it reported it: no folder passes through the ANSI code page on its way
  // to the look-up of its files.
  const TTextEncoding chosen = ChoosePlaylistEncoding(os_, state_.PlaylistFolder(os_));
  if (chosen != TTextEncoding::Utf8) state_.LoadSettingsIn(os_, chosen);
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
    state_.LoadSettingsIn(os_, TTextEncoding::Utf8);
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
    WriteItem(os_, state_.Encoding, item_, record);
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
    WriteItem(os_, state_.Encoding, item_, record);
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
    state_.LoadSettingsIn(os_, TTextEncoding::Utf8);
    UseEncodingOfPlaylist();
    // Only compared with the root: a path that the encoding cannot hold is none.
    return FindFirstInto(os_.FromWide(state_.Encoding, path), record);
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

// --- Copying out ---------------------------------------------------------------------

void Plugin::KeepProgress(int pluginNumber, wfx::TProgressProc progress) noexcept {
  progressNumber_ = pluginNumber;
  progress_ = progress;
}

void Plugin::KeepProgressW(int pluginNumber, wfx::TProgressProcW progress) noexcept {
  progressNumberW_ = pluginNumber;
  progressW_ = progress;
}

bool Plugin::Progress(bool wide, const std::string& source, const std::string& target, int percent) {
  if (progressW_ && (wide || !progress_)) {
    std::u16string from = os_.ToWide(state_.Encoding, source);
    std::u16string to = os_.ToWide(state_.Encoding, target);
    return progressW_(progressNumberW_, from.data(), to.data(), percent) != 0;
  }
  if (progress_) {
    std::string from = AnsiText(os_, state_.Encoding, source);
    std::string to = AnsiText(os_, state_.Encoding, target);
    return progress_(progressNumber_, from.data(), to.data(), percent) != 0;
  }
  return false;
}

template <typename Text>
int Plugin::GetFile(const Text& remoteName, Text& localName, int flags) noexcept {
  try {
    // A name that the playlist's encoding cannot hold names no entry; a target that it
    // cannot hold is never written under a look-alike name.
    const std::optional<std::string> entry = CoreText(os_, state_.Encoding, remoteName);
    if (!entry) return wfx::kFileNotFound;
    std::optional<std::string> targetName = CoreText(os_, state_.Encoding, localName);
    if (!targetName) return wfx::kFileWriteError;
    const std::string& remote = *entry;
    std::string& local = *targetName;
    // The progress dialog shows the entry's file and the target.
    const std::string source = remote.empty() ? remote : remote.substr(1);
    const bool wide = std::is_same_v<Text, std::u16string>;
    const int result = copyOut_.GetFile(remote, local, flags, [&](const std::string& target, int percent) {
      return Progress(wide, source, target, percent);
    });
    if constexpr (std::is_same_v<Text, std::u16string>) {
      localName = os_.ToWide(state_.Encoding, local);
    } else {
      localName = AnsiText(os_, state_.Encoding, local);
    }
    // The user's file stays where it is: moving an entry out takes it out of the playlist.
    if (result == wfx::kFileOk && (flags & wfx::kCopyMove)) batches_.RemoveMovedEntry(remote);
    return result;
  } catch (...) {
    return wfx::kFileWriteError;
  }
}

int Plugin::FsGetFile(const std::string& remoteName, std::string& localName, int flags) noexcept {
  return GetFile(remoteName, localName, flags);
}

int Plugin::FsGetFileW(const std::u16string& remoteName, std::u16string& localName, int flags) noexcept {
  return GetFile(remoteName, localName, flags);
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
    batches_.PutFile(CoreText(os_, state_.Encoding, localName));
  } catch (...) {
  }
  return wfx::kFileOk;
}

template <typename Text>
int Plugin::DeleteFile(const Text& remoteName) noexcept {
  try {
    batches_.DeleteFile(CoreText(os_, state_.Encoding, remoteName));
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
    // A verb that the encoding cannot hold is none of the commands.
    const TTextEncoding encoding = state_.Encoding;
    return commands_.ExecuteFile(CoreText(os_, encoding, remoteName),
                                 CoreText(os_, encoding, verb).value_or(""));
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
