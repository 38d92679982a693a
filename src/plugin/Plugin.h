// The plug-in front end: the host's entry points in portable form, over the shared
// state, the playlist handle, the listing, the edit batches and the commands. The
// exported C functions (dll/Exports.cpp) only translate the host's arguments and
// forward here. Every entry point catches whatever the core raises: nothing leaves
// towards the host.
//
// One core serves the ANSI and the Unicode entry points; the encoding is decided here,
// at the edge: the encoding of the playlist in use (TPluginState::Encoding), which only
// the loads of the settings set, and which the settings are loaded in:
//   - FsInit and FsFindFirst load them in the ANSI code page, as the plug-in always has.
//   - FsInitW and FsFindFirstW load them in UTF-8 and choose (PlaylistChoice.h) over the
//     folder as loaded and as the player reported it: UTF-8 when the playlist folder
//     holds a "winamp.m3u8" that the player wrote with "winamp.m3u", else ANSI (and the
//     settings are loaded again in ANSI).
//   - Every other entry point works in the encoding of the last load, so that a listing
//     and the batches and commands on its names agree: it converts its host texts into
//     that encoding (HostText.h; a name that the encoding cannot hold exactly is refused,
//     never replaced by a look-alike) and its results back (ListedItem.h).
// The listing, the batches and the commands hand that encoding with every path to the
// platform's file operations (Platform.h), and the content columns the encoding of the
// listing they read, so that no text's meaning depends on a mode. In UTF-8 the core reads
// "winamp.m3u8", writes "temp.m3u8", saves "Plenvox.m3u8", and the platform reaches the
// system through its W functions.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FindData.h"
#include "platform/Platform.h"
#include "player/Host.h"
#include "player/Player.h"
#include "plugin/AnalysisCache.h"
#include "plugin/Columns.h"
#include "plugin/Commands.h"
#include "plugin/CopyOut.h"
#include "plugin/EditBatches.h"
#include "plugin/EntryPictures.h"
#include "plugin/HostInterface.h"
#include "plugin/ListedItem.h"
#include "plugin/Listing.h"
#include "plugin/PlaylistHandle.h"
#include "plugin/PluginState.h"

namespace plenvox {

constexpr const char* kRootName = "PlenvoxFast";
constexpr const char* kAboutText = "Plenvox2 (Fast) version 1.0 by Quorlan.";
constexpr const char* kAboutCaption = "Information";

class Plugin {
 public:
  // The front end over the state that the library's load made, and over the player
  // and the host of its edition.
  Plugin(Platform& os, TPluginState& state, Player& player, Host& host);

  // --- The ANSI entry points ---------------------------------------------------
  int FsInit() noexcept;
  void FsGetDefRootName(char* buffer, int size) noexcept;
  // 0 for a listing with entries, -1 (last error 18) for an empty folder.
  std::intptr_t FsFindFirst(const std::string& path, TFindData& record) noexcept;
  bool FsFindNext(TFindData& record) noexcept;
  int FsFindClose() noexcept;
  // Copies the entry's file to localName (the host's full path), which comes back
  // renamed when the copy is numbered; with the move flag the entry then leaves the
  // playlist. One of the interface's FsGetFile results.
  int FsGetFile(const std::string& remoteName, std::string& localName, int flags) noexcept;
  void FsStatusInfo(int startEnd, int operation) noexcept;
  // 0 whatever happens to the file.
  int FsPutFile(const std::string& localName) noexcept;
  // wfx::kTrue whatever happens to the entry.
  int FsDeleteFile(const std::string& remoteName) noexcept;
  // 0 done, 1 error.
  int FsExecuteFile(const std::string& remoteName, const std::string& verb) noexcept;

  // The host's progress callbacks, as FsInit and FsInitW hand them over. A copy calls the
  // one of its own form, else the other.
  void KeepProgress(int pluginNumber, wfx::TProgressProc progress) noexcept;
  void KeepProgressW(int pluginNumber, wfx::TProgressProcW progress) noexcept;

  // --- The Unicode entry points: the same answers (FsStatusInfo serves both forms,
  // having no texts to convert) -------------------------------------------------------
  int FsInitW() noexcept;
  std::intptr_t FsFindFirstW(const std::u16string& path, TFindDataW& record) noexcept;
  bool FsFindNextW(TFindDataW& record) noexcept;
  int FsGetFileW(const std::u16string& remoteName, std::u16string& localName, int flags) noexcept;
  int FsPutFileW(const std::u16string& localName) noexcept;
  int FsDeleteFileW(const std::u16string& remoteName) noexcept;
  int FsExecuteFileW(const std::u16string& remoteName, const std::u16string& verb) noexcept;

  // --- The content columns (Columns.h), whose entry points catch everything too ------
  Columns& Content() { return columns_; }
  // --- The items' icons and covers (EntryPictures.h); their callers catch everything ---
  EntryPictures& Pictures() { return pictures_; }

  // --- State, read by the tests ------------------------------------------------
  const TSettings& Settings() const { return state_.Settings; }
  const std::string& ModulePath() const { return state_.ModulePath; }
  const std::string& CommanderPath() const { return state_.CommanderPath; }
  const std::string& CurrentPath() const { return state_.CurrentPath; }
  const PlaylistFile& Playlist() const { return playlist_.File(); }

 private:
  // FsInit and FsInitW after their load: the player writes its playlist and says where.
  void InitPlayer();
  // The choice of the Unicode entry points, after a load in UTF-8: loads again in ANSI
  // when it chooses the ANSI playlist.
  void UseEncodingOfPlaylist();
  // The listing's first and further items, written into the host's record.
  template <typename Record>
  std::intptr_t FindFirstInto(const std::string& path, Record& record);
  template <typename Record>
  bool FindNextInto(Record& record);
  // The edits and commands of either form, the host's texts converted first.
  template <typename Text>
  int GetFile(const Text& remoteName, Text& localName, int flags) noexcept;
  // Calls the host's progress callback of the form given, else of the other one; true
  // when the user wants to stop.
  bool Progress(bool wide, const std::string& source, const std::string& target, int percent);
  template <typename Text>
  int PutFile(const Text& localName) noexcept;
  template <typename Text>
  int DeleteFile(const Text& remoteName) noexcept;
  template <typename Text>
  int ExecuteFile(const Text& remoteName, const Text& verb) noexcept;

  Platform& os_;
  TPluginState& state_;
  Player& player_;
  Host& host_;
  PlaylistHandle playlist_;
  AnalysisCache analyses_;
  Columns columns_;
  EntryPictures pictures_;
  Listing listing_;
  TListedItem item_;  // the item being listed; its room serves the next ones
  EditBatches batches_;
  Commands commands_;
  CopyOut copyOut_;
  int progressNumber_ = 0;
  wfx::TProgressProc progress_ = nullptr;
  int progressNumberW_ = 0;
  wfx::TProgressProcW progressW_ = nullptr;
};

}  // namespace plenvox
