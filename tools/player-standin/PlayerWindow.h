// The stand-in player's main window: class "Winamp v1.x", the requests of the player's
// window-message interface, and the hand-over of "/ADD" playlists from a second
// instance. Every request is logged, in the order it is handled; texts in the log are
// the entries' own (ANSI bytes for the old player, UTF-8 for the Unicode one).
#pragma once

#include <windows.h>

#include <string>

#include "Options.h"
#include "Playlist.h"

namespace plenvox::e2e {

constexpr char kPlayerWindowClass[] = "Winamp v1.x";
// WM_COPYDATA code of a playlist path handed over by a second instance; the data is
// the path and its terminating zero.
constexpr ULONG_PTR kCopyDataAddPlaylist = 0x504C4144;  // "PLAD"

class PlayerWindow {
 public:
  PlayerWindow(const std::string& folder, const TStandinOptions& options);
  // Registers the class and creates the (hidden) window; false when that fails.
  bool Create(HINSTANCE instance);
  // Loads winamp.m3u (the Unicode player: winamp.m3u8 when it is there) from the
  // playlist folder, then the entries of an "/ADD" playlist.
  void LoadStartPlaylist(const std::string& addedPlaylist);
  void Log(const std::string& line) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT UserRequest(WPARAM wParam, LPARAM lParam);
  LRESULT Command(WPARAM wParam);
  bool WritePlaylistFiles() const;
  LRESULT FolderAnswer(bool answers, const void* folder);
  void Add(const std::string& playlistPath);
  void LogRequest(UINT message, WPARAM wParam, LPARAM lParam, const char* name, LRESULT answer);
  void LogFinalPlaylist() const;

  TStandinOptions options_;
  std::wstring playlistPath_;
  std::wstring unicodePlaylistPath_;
  std::string logPath_;
  // The folder as the answers to 337 and 338 point to it, without its last backslash.
  std::string ansiFolder_;
  std::wstring wideFolder_;
  Playlist playlist_;
  // Play makes it 1 (playing), Stop 0 (stopped): what request 104 answers.
  LRESULT playingStatus_ = 0;
};

}  // namespace plenvox::e2e
