// The state that the host's entry points share, one record per process: what the
// library's load records, the settings as last loaded and the encoding they were
// loaded in, where the player last wrote its playlist, and the folder of the last
// listing. The playlist handle and the edit batches keep their own state beside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/FileNames.h"
#include "config/Settings.h"
#include "platform/Platform.h"
#include "player/Player.h"

namespace plenvox {

constexpr const char* kFirstRunText =
    "Main settings file not found or empty. Please, run SETTINGS.EXE";

// The root of the virtual folder, the only path that lists entries.
constexpr std::string_view kRootPath = "\\";

struct TPluginState {
  // The library's load: its own path (for the settings program beside it) and the
  // lower-cased host path (for "%commander_path%"); nothing else is read or sent.
  explicit TPluginState(Platform& os, std::string firstRunText = kFirstRunText,
                        std::string firstRunProgram = std::string(kSettingsProgramFile));

  // As the A functions give them; ModulePathUtf8 as the W function gives it.
  std::string ModulePath;
  std::string ModulePathUtf8;
  std::string CommanderPath;
  // The encoding of the playlist in use: of the settings and CurrentPath, of the names
  // that the listing, the batches and the commands handle, and of the platform's texts
  // (Platform::SetTextEncoding); each load of the settings sets it (see Plugin.h).
  TTextEncoding Encoding = TTextEncoding::Ansi;
  // Loaded by FsInit and at the start of every listing; zero until then.
  TSettings Settings;
  // Where the player's playlist may lie: the folder of the key PlaylistFolder, the one
  // that the running player reports, the player's own (WinampFolder).
  enum class TFolderSource { Key, Player, WinampFolder };
  // The playlist folder that the player reported when it was last asked, or nothing.
  std::optional<std::u16string> PlayerFolder;
  // The folder whose playlist the player wrote at its last request to write it; nothing
  // when none of the three holds a playlist written then.
  std::optional<TFolderSource> WrittenFolder;
  // The path of the most recent FsFindFirst, cut to 255 characters.
  std::string CurrentPath;
  // What the first run (no settings yet) tells the user, and the settings program that
  // it starts from the plug-in's folder (none when empty): the edition's own.
  std::string FirstRunText;
  std::string FirstRunProgram;

  // Entries exist for the commands only while the last listing was of the root.
  bool ListedRoot() const { return CurrentPath == kRootPath; }
  // Puts the platform's texts in the encoding and loads the settings in it.
  void LoadSettingsIn(Platform& os, TTextEncoding encoding);
  // The player writes its playlist (the answer, its position, is returned), and the
  // folder of the playlist that it has just written is found: the key's folder when its
  // playlist was written at the request (it changed with the request, or is not older
  // than it; the player is then not asked); else the folder that the player reports;
  // else WinampFolder when its playlist was written at the request.
  std::int32_t WritePlayerPlaylist(Platform& os, Player& player);
  // Whether the playlist in use is the one that the player wrote at its last request.
  bool PlaylistJustWritten() const;

  // In the encoding of the settings as loaded.
  const std::string& ModulePathInUse() const;
  // The folder of the playlist that the player has just written; when no folder holds
  // one, the key's folder, else the one that the player reported, else WinampFolder.
  // The folder that the player reported is converted from UTF-16 only here, into the
  // encoding of the settings as loaded: exactly into UTF-8; into the ANSI code page
  // without best-fit characters, so that a folder named in a script that the code page
  // lacks keeps a "?" for each such character and names no folder at all (rather than a
  // look-alike).
  std::string PlaylistFolder(Platform& os) const;
  // The player's playlist file in that folder.
  std::string PlaylistPath(Platform& os) const;

 private:
  // The folder of a source, in the encoding in force; empty when it names none.
  std::string FolderOf(Platform& os, TFolderSource source) const;
  // The last write of the source's playlist (100 ns steps), or nothing without one.
  using TWriteTime = std::optional<std::uint64_t>;
  TWriteTime LastWrite(Platform& os, TFolderSource source) const;
  // Whether the source's playlist was written since the request, asked at that time,
  // which found it last written before.
  bool WrittenSince(Platform& os, TFolderSource source, TWriteTime before, TFileTime asked) const;
};

}  // namespace plenvox
