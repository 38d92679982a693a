// The settings record as text, for the settings program's "/show": one "Field=value"
// line per field of TSettings, in the record's order, as the plug-in holds them.
#pragma once

#include <string>

#include "config/Settings.h"
#include "platform/Platform.h"

namespace plenvox {

// Booleans read "true" or "false", DisplayMode its number, ExtFilter its text in the
// ANSI code page. Lines end with CR LF.
std::string FormatSettings(Platform& os, const TSettings& settings);

}  // namespace plenvox
