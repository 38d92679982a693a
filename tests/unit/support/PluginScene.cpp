#include "support/PluginScene.h"

namespace plenvox::test {

namespace {
constexpr const char* kIni = "C:\\Settings\\plenvox.ini";
}  // namespace

PluginScene::PluginScene()
    : player(os, dir / "winamp.exe", dir / "winamp.m3u"), edition(os), plugin(edition.plugin) {
  os.windows["TTOTAL_CMD"] = kHost;
  os.environment["TEMP"] = dir.Path() + "/";
  os.registryValue = RegistryValue{1, std::string(kIni) + '\0'};
  player.SetRunning(true);
  auto playerHandler = os.onRunCommandLine;
  os.onRunCommandLine = [this, playerHandler](const std::string& commandLine, int showCode) {
    if (const auto path = FakePlayer::AddedPlaylist(commandLine)) {
      handed.push_back(Exists(*path) ? ReadFile(*path) : "(missing)");
    }
    playerHandler(commandLine, showCode);
  };
}

void PluginScene::Configure(const std::string& pathLines, const std::string& modeLines) {
  os.iniFiles[kIni] =
      "[Path]\nWinampFolder=" + dir.Path() + "/\n" + pathLines + "\n[Mode]\n" + modeLines + "\n";
  plugin.FsInit();
  os.calls.clear();
}

void PluginScene::ListRoot() {
  plugin.FsStatusInfo(0, 1);
  TFindData record{};
  if (plugin.FsFindFirst("\\", record) == 0) {
    while (plugin.FsFindNext(record)) {
    }
  }
  plugin.FsFindClose();
  plugin.FsStatusInfo(1, 1);
  os.calls.clear();
}

std::string Send(std::uint32_t message, std::int64_t wParam, std::int64_t lParam) {
  return "SendMessage(" + std::to_string(FakePlayer::kWindow) + ", " + std::to_string(message) +
         ", " + std::to_string(wParam) + ", " + std::to_string(lParam) + ")";
}

std::string WritePlaylistCall() { return Send(1024, 0, 120); }

Calls AskFolderCalls() { return {Send(1024, 0, 338), Send(1024, 0, 337)}; }

std::string RefreshCall() {
  return "PostMessage(" + std::to_string(PluginScene::kHost) + ", 1075, 540, 0)";
}

std::string OpenCall(const std::string& path) { return "OpenRead(" + path + ")"; }
std::string CloseCall(const std::string& path) { return "Close(" + path + ")"; }

}  // namespace plenvox::test
