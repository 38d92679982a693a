// The state that the host's entry points share, one record per process: what the
// library's load records, the settings as last loaded and the encoding they were
// loaded in, what the player last said of its playlist folder, and the folder of the
// last listing. The playlist handle and the edit batches keep their own state beside it.
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
  // The playlist folder that the player reported when it was last asked, or nothing.
  std::optional<std::u16string> PlayerFolder;
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
  // Asks the player where its playlist is, unless the settings name the folder.
  void AskPlayerForPlaylistFolder(Player& player);

  // In the encoding of the settings as loaded.
  const std::string& ModulePathInUse() const;
  // The folder that the player reported is converted from UTF-16 only here, into the
  // encoding of the settings as loaded: exactly into UTF-8; into the ANSI code page
  // without best-fit characters, so that a folder named in a script that the code page
  // lacks keeps a "?" for each such character and names no folder at all (rather than a
  // look-alike).
  std::string PlaylistFolder(Platform& os) const;
  // The player's playlist file in that folder.
  std::string PlaylistPath(Platform& os) const;
};

}  // namespace plenvox
