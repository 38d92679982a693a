#include "plugin/Plugin.h"

#include <algorithm>
#include <cstring>

#include "plugin/HostInterface.h"
#include "playlist/IoError.h"

namespace plenvox {

Plugin::Plugin(Platform& os, TPluginState& state, Player& player, Host& host)
    : os_(os),
      state_(state),
      player_(player),
      host_(host),
      playlist_(os, state.Settings),
      analyses_(os),
      listing_(FrontEndPart(os, state, playlist_, player, host), analyses_),
      batches_(os, state, playlist_, player, host),
      commands_(os, state, playlist_, player, host) {}

int Plugin::FsInit() noexcept {
  try {
    state_.ReloadSettings(os_);
    player_.WritePlaylist();
  } catch (...) {
    // Nothing to report: the host's callbacks are not used.
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

std::intptr_t Plugin::FsFindFirst(const std::string& path, TFindData& record) noexcept {
  try {
    return listing_.FindFirst(path, record);
  } catch (...) {
    // A playlist file that exists but cannot be opened or read shows as an empty folder.
    playlist_.CloseQuietly();
    return listing_.EmptyFolder();
  }
}

bool Plugin::FsFindNext(TFindData& record) noexcept {
  try {
    return listing_.FindNext(record);
  } catch (...) {
    // A read failure ends the listing where it is.
    playlist_.CloseQuietly();
    return false;
  }
}

int Plugin::FsFindClose() noexcept {
  playlist_.CloseQuietly();
  return 0;
}

int Plugin::FsGetFile() noexcept {
  // Items are playlist entries, not files of the plug-in: copying them out is not offered.
  return wfx::kFileNotSupported;
}

void Plugin::FsStatusInfo(int startEnd, int operation) noexcept {
  try {
    batches_.StatusInfo(startEnd, operation);
  } catch (...) {
    // Nothing reaches the host.
  }
}

int Plugin::FsPutFile(const std::string& localName) noexcept {
  batches_.PutFile(localName);
  return wfx::kFileOk;
}

int Plugin::FsDeleteFile(const std::string& remoteName) noexcept {
  batches_.DeleteFile(remoteName);
  return wfx::kTrue;
}

int Plugin::FsExecuteFile(const std::string& remoteName, const std::string& verb) noexcept {
  try {
    return commands_.ExecuteFile(remoteName, verb);
  } catch (const IoError&) {
    return wfx::kExecOk;
  } catch (...) {
    return wfx::kExecError;
  }
}

}  // namespace plenvox
