// The stand-in player's main window: class "Winamp v1.x", the requests of the player's
// window-message interface, and the hand-over of "/ADD" playlists from a second
// instance. Every request is logged, in the order it is handled.
#pragma once

#include <windows.h>

#include <string>

#include "Playlist.h"

namespace plenvox::e2e {

constexpr char kPlayerWindowClass[] = "Winamp v1.x";
// WM_COPYDATA code of a playlist path handed over by a second instance; the data is
// the path and its terminating zero.
constexpr ULONG_PTR kCopyDataAddPlaylist = 0x504C4144;  // "PLAD"

class PlayerWindow {
 public:
  explicit PlayerWindow(const std::string& folder);
  // Registers the class and creates the (hidden) window; false when that fails.
  bool Create(HINSTANCE instance);
  // Loads winamp.m3u from the player's folder, then the entries of an "/ADD" playlist.
  void LoadStartPlaylist(const std::string& addedPlaylist);
  void Log(const std::string& line) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT UserRequest(WPARAM wParam, LPARAM lParam);
  LRESULT Command(WPARAM wParam);
  void Add(const std::string& playlistPath);
  void LogRequest(UINT message, WPARAM wParam, LPARAM lParam, const char* name, LRESULT answer);
  void LogFinalPlaylist() const;

  std::string folder_;
  std::string playlistPath_;
  std::string logPath_;
  Playlist playlist_;
};

}  // namespace plenvox::e2e
