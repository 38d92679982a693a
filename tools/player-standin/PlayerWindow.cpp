#include "PlayerWindow.h"

#include "EscapedText.h"
#include "HiddenWindow.h"
#include "LogBesideModule.h"
#include "WideText.h"
#include "common/Text.h"

namespace plenvox::e2e {

namespace {

// The requests of the player's interface that the stand-in answers: WM_USER with these
// lParam codes, WM_COMMAND with the buttons' wParam codes. The stand-in spells them out
// itself, as the player's side of the interface, rather than taking the plug-in's.
constexpr UINT kWmUser = WM_USER;
enum UserRequestCode : LPARAM {
  kWritePlaylist = 120,
  kClearPlaylist = 101,
  kSetPosition = 121,
  kPlayingStatus = 104,
  kListPosition = 125,
  kPlaylistFolder = 337,
  kPlaylistFolderW = 338,
};
// What a player answers to a request that it does not know.
constexpr LRESULT kNotKnown = 1;
enum ButtonCode : WPARAM { kButtonStop = 40047, kButtonPlay = 40045 };

// Message parameters are 32-bit numbers in the player's interface.
std::int32_t Low32(std::uintptr_t value) { return static_cast<std::int32_t>(value & 0xFFFFFFFFu); }

bool EndsWithM3u8(const std::string& path) {
  constexpr std::string_view kExtension = ".m3u8";
  return path.size() >= kExtension.size() &&
         LowerAscii(path.substr(path.size() - kExtension.size())) == kExtension;
}

}  // namespace

PlayerWindow::PlayerWindow(const std::string& folder, const TStandinOptions& options)
    : options_(options),
      playlistPath_(options.PlaylistFolder + L"winamp.m3u"),
      unicodePlaylistPath_(options.PlaylistFolder + L"winamp.m3u8"),
      logPath_(folder + "standin.log"),
      wideFolder_(options.PlaylistFolder.substr(0, options.PlaylistFolder.size() - 1)),
      playlist_(options.Unicode) {
  ansiFolder_ = AnsiOfWide(wideFolder_);
}

bool PlayerWindow::Create(HINSTANCE instance) {
  return CreateHiddenWindow(instance, kPlayerWindowClass, "Winamp (stand-in)",
                            &PlayerWindow::Procedure, this) != nullptr;
}

void PlayerWindow::LoadStartPlaylist(const std::string& addedPlaylist) {
  const bool unicodeFile =
      options_.Unicode && ::GetFileAttributesW(unicodePlaylistPath_.c_str()) != INVALID_FILE_ATTRIBUTES;
  Log("load\t" + std::to_string(playlist_.AppendFile(
                     unicodeFile ? unicodePlaylistPath_ : playlistPath_, unicodeFile)));
  if (!addedPlaylist.empty()) Add(addedPlaylist);
}

void PlayerWindow::Log(const std::string& line) const { AppendLine(logPath_, line); }

LRESULT CALLBACK PlayerWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<PlayerWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  return self ? self->Handle(window, message, wParam, lParam)
              : ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT PlayerWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kWmUser:
      return UserRequest(wParam, lParam);
    case WM_COMMAND:
      return Command(wParam);
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!data || data->dwData != kCopyDataAddPlaylist || !data->lpData) return FALSE;
      const auto* text = static_cast<const char*>(data->lpData);
      std::string path(text, data->cbData);
      path.resize(path.find('\0') == std::string::npos ? path.size() : path.find('\0'));
      Add(path);
      return TRUE;
    }
    case WM_DESTROY:
      LogFinalPlaylist();
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT PlayerWindow::UserRequest(WPARAM wParam, LPARAM lParam) {
  LRESULT answer = 0;
  const char* name = "unknown";
  if (lParam == kWritePlaylist) {
    name = "write";
    answer = playlist_.Position();
    if (!WritePlaylistFiles()) Log("error\twrite\t" + std::to_string(::GetLastError()));
  } else if (lParam == kClearPlaylist) {
    name = "clear";
    playlist_.Clear();
  } else if (lParam == kSetPosition) {
    name = "position";
    playlist_.SetPosition(Low32(wParam));
  } else if (lParam == kPlayingStatus) {
    name = "status";
    answer = playingStatus_;
  } else if (lParam == kListPosition) {
    name = "listpos";
    answer = playlist_.Position();
  } else if (lParam == kPlaylistFolder || lParam == kPlaylistFolderW) {
    const bool wide = lParam == kPlaylistFolderW;
    name = wide ? "folderw" : "folder";
    answer = wide ? FolderAnswer(options_.AnswersWideFolder, wideFolder_.c_str())
                  : FolderAnswer(options_.AnswersAnsiFolder, ansiFolder_.c_str());
  } else {
    answer = kNotKnown;
  }
  LogRequest(kWmUser, wParam, lParam, name, answer);
  return answer;
}

// The Unicode player writes both files of one request, the UTF-8 one last, so that it
// is never older than the ANSI one.
bool PlayerWindow::WritePlaylistFiles() const {
  if (!playlist_.WriteFile(playlistPath_, false)) return false;
  return !options_.Unicode || playlist_.WriteFile(unicodePlaylistPath_, true);
}

LRESULT PlayerWindow::FolderAnswer(bool answers, const void* folder) {
  return answers ? reinterpret_cast<LRESULT>(folder) : kNotKnown;
}

LRESULT PlayerWindow::Command(WPARAM wParam) {
  const char* name = "unknown";
  if (wParam == kButtonStop) {
    name = "stop";
    playingStatus_ = 0;
  }
  if (wParam == kButtonPlay) {
    name = "play";
    playingStatus_ = 1;
  }
  LogRequest(WM_COMMAND, wParam, 0, name, 0);
  return 0;
}

void PlayerWindow::Add(const std::string& playlistPath) {
  const std::wstring path = options_.Unicode ? WideOfUtf8(playlistPath) : WideOfAnsi(playlistPath);
  const bool utf8File = options_.Unicode && EndsWithM3u8(playlistPath);
  Log("add\t" + EscapedText(playlistPath) + "\t" +
      std::to_string(playlist_.AppendFile(path, utf8File)));
}

void PlayerWindow::LogRequest(UINT message, WPARAM wParam, LPARAM lParam, const char* name,
                              LRESULT answer) {
  Log("request\t" + std::to_string(message) + "\t" + std::to_string(Low32(wParam)) + "\t" +
      std::to_string(Low32(static_cast<std::uintptr_t>(lParam))) + "\t" + name + "\t" +
      std::to_string(answer));
}

void PlayerWindow::LogFinalPlaylist() const {
  const auto& entries = playlist_.Entries();
  Log("exit\t" + std::to_string(playlist_.Position()) + "\t" + std::to_string(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Log("entry\t" + std::to_string(i) + "\t" + EscapedText(entries[i].Path));
  }
}

}  // namespace plenvox::e2e
