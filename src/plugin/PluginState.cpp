#include "plugin/PluginState.h"

namespace plenvox {

namespace {
// GetModuleFileNameA fills a 260-character buffer: at most 259 characters and a zero.
constexpr std::size_t kModulePathMax = 259;
}  // namespace

TPluginState::TPluginState(Platform& os)
    : ModulePath(os.ModuleFileName().substr(0, kModulePathMax)),
      CommanderPath(CaptureCommanderPath(os)) {}

void TPluginState::ReloadSettings(Platform& os) { LoadSettings(os, CommanderPath, Settings); }

}  // namespace plenvox
