// Looking for an installed player, to propose its folder to a new user.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace plenvox {

// The folder part of a program path as installers register it: the path may stand in
// quotation marks, be followed by arguments ("...\UninstWA.exe" /S) or by an icon
// index (...\winamp.exe,0). The result ends with its separator; empty when the text
// names no folder.
std::string ProgramFolder(const std::string& registered);

// Where the player may be, most telling first, each ending with a separator: the
// folder that its installer recorded under HKEY_CURRENT_USER "Software\Winamp", the
// folders of its uninstall entry's "UninstallString" and "DisplayIcon", then
// "Winamp\" in the program-files folders.
std::vector<std::string> PlayerFolderCandidates(Platform& os);

// The first candidate that holds the player's program winamp.exe, or empty.
std::string FindPlayerFolder(Platform& os);

// The folder where an installed player of today keeps its settings and its playlist,
// away from its program folder: the "inidir" that its installer writes to "paths.ini"
// in the program folder ("{26}" standing for the user's application data), else
// "Winamp\" in the user's application data when the player's "winamp.ini" is there.
// Ends with its separator; empty when neither is found or it is the program folder.
std::string FindPlayerSettingsFolder(Platform& os, const std::string& playerFolder);

}  // namespace plenvox
