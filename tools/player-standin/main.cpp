// The stand-in player. Started with "/ADD path" while another instance runs, it hands
// the path to that instance and exits. Otherwise it creates its window before anything
// else (so that a starter that looks for the window right after the start finds it),
// loads its playlist plus the entries of an "/ADD" playlist, and serves requests until
// its window is closed.
#include <windows.h>

#include "CommandLine.h"
#include "EscapedText.h"
#include "LogBesideModule.h"
#include "Options.h"
#include "PlayerWindow.h"
#include "WideText.h"

namespace {

using namespace plenvox::e2e;

// The show code the starter asked for (WinExec passes it in the start-up information),
// or "none".
std::string StartShowCode() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) == 0) return "none";
  return std::to_string(startup.wShowWindow);
}

bool HandOver(HWND running, const std::string& playlistPath) {
  COPYDATASTRUCT data{};
  data.dwData = kCopyDataAddPlaylist;
  data.cbData = static_cast<DWORD>(playlistPath.size() + 1);
  data.lpData = const_cast<char*>(playlistPath.c_str());
  return ::SendMessageA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) != 0;
}

}  // namespace

// The old player takes its command line through the A function; the Unicode player
// through the W function, as UTF-8.
std::string CommandLine(const TStandinOptions& options) {
  return options.Unicode ? Utf8OfWide(::GetCommandLineW()) : std::string(::GetCommandLineA());
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const TStandinOptions options = LoadOptions(WideOfAnsi(ModuleFolder()));
  const std::string arguments = ArgumentsOf(CommandLine(options));
  const std::string added = AddedPlaylistOf(arguments);
  PlayerWindow player(ModuleFolder(), options);

  if (!added.empty()) {
    HWND running = ::FindWindowA(kPlayerWindowClass, nullptr);
    if (running) {
      player.Log("handoff\t" + EscapedText(added) + "\t" + StartShowCode());
      return HandOver(running, added) ? 0 : 1;
    }
  }
  if (!player.Create(instance)) return 1;
  player.Log("start\t" + EscapedText(arguments) + "\t" + StartShowCode());
  player.LoadStartPlaylist(added);

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
