#include "plugin/Plugin.h"

#include <cstring>

#include "common/Text.h"

namespace plenvox {

namespace {
// GetModuleFileNameA fills a 260-character buffer: at most 259 characters and a zero.
constexpr std::size_t kModulePathMax = 259;
}  // namespace

Plugin::Plugin(Platform& os)
    : os_(os),
      modulePath_(os.ModuleFileName().substr(0, kModulePathMax)),
      commanderPath_(CaptureCommanderPath(os)),
      player_(os, settings_),
      playlistFile_(os) {}

int Plugin::FsInit() noexcept {
  try {
    LoadSettings(os_, commanderPath_, settings_);
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
    os_.MessageBox(player_.HostWindow(), kAboutText, kAboutCaption, kMessageBoxInformation);
  } catch (...) {
  }
}

std::string EntryPathOf(const std::string& remoteName) {
  return CutShort(remoteName.empty() ? remoteName : remoteName.substr(1));
}

void Plugin::ClosePlaylistQuietly() noexcept {
  try {
    playlistFile_.Close();
  } catch (...) {
    // The handle is released either way; a failed close of a file that was only read
    // changes nothing the user owns.
  }
}

}  // namespace plenvox
