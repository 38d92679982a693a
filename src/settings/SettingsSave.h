// Where the settings program keeps the settings, and how it saves them: the INI file
// first, replaced whole, and only then the registry value that points the plug-in at it.
#pragma once

#include <string>
#include <vector>

#include "settings/IniWriter.h"
#include "platform/Platform.h"

namespace plenvox {

struct SettingsLocation {
  std::string IniPath;
  // True when the registry value already names IniPath; false for a proposed file.
  bool Registered = false;
};

// The INI file that the registry value names; without one, the proposal
// "%APPDATA%\Plenvox\plenvox.ini" (or "plenvox.ini" beside the program when the
// user has no application-data folder).
SettingsLocation LocateSettings(Platform& os);

// Merges the assignments into the INI file and replaces it whole; a file that does
// not exist yet is created with every key, those not assigned at their defaults, in
// a folder created when missing. Then, when the location is not registered, writes
// the registry value. The assignments are stored as given (check them first). On
// failure message says what failed; a failure before the registry step leaves the
// INI file as it was.
bool SaveSettings(Platform& os, const SettingsLocation& location,
                  const std::vector<IniAssignment>& assignments, std::string& message);

}  // namespace plenvox
