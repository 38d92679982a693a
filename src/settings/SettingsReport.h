// The settings record as text, for the settings program's "/show": one "Field=value"
// line per field of TSettings, in the record's order, as the plug-in holds them; and the
// folder whose playlist the plug-in would read now.
#pragma once

#include <string>

#include "config/Settings.h"
#include "platform/Platform.h"

namespace plenvox {

// Booleans read "true" or "false", DisplayMode its number, ExtFilter its text in the
// ANSI code page. Lines end with CR LF.
std::string FormatSettings(Platform& os, const TSettings& settings);

// The playlist folder that the plug-in would use with these settings now: the key
// PlaylistFolder, else what a running player reports (a player that is not running is
// not started), else WinampFolder.
std::string PlaylistFolderInUseNow(Platform& os, const TSettings& settings);

}  // namespace plenvox
