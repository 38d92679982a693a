// The fixed names of the files that the plug-in, its settings program and the player
// agree on.
#pragma once

#include <string_view>

namespace plenvox {

// The player's program and the playlist file that it writes, both in its folder.
constexpr std::string_view kPlayerProgramFile = "winamp.exe";
constexpr std::string_view kPlayerPlaylistFile = "winamp.m3u";
// The temporary playlist that carries an edit batch to the player, in the TEMP folder.
constexpr std::string_view kTempPlaylistFile = "temp.m3u";
// The settings program, shipped beside the plug-in.
constexpr std::string_view kSettingsProgramFile = "settings.exe";
// The copy that the "save" command writes into a folder of the user's choice.
constexpr std::string_view kSavedPlaylistFile = "Plenvox.m3u";
// Where the settings program proposes to keep the settings: this file in a folder of
// this name in the user's application data.
constexpr std::string_view kSettingsFolderName = "Plenvox";
constexpr std::string_view kSettingsFile = "plenvox.ini";

}  // namespace plenvox
