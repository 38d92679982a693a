// The settings as the settings program edits them: the keys that the plug-in reads,
// the values a user sees in the dialog, how a "Section.Key=Value" request is read,
// and the checks that a value passes before it is written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/IniWriter.h"
#include "config/Settings.h"
#include "platform/Platform.h"

namespace plenvox {

// The key named "Section.Key" (names match without regard to case), or nothing.
std::optional<SettingKey> FindSettingKey(std::string_view sectionDotKey);

// Reads a "Section.Key=Value" request into an assignment with the key's own spelling.
// The value is everything after the first "=" and may be empty. On failure, message
// says why.
bool ParseSetRequest(std::string_view request, IniAssignment& assignment, std::string& message);

// What the dialog shows and edits. Path values are held as stored, with the
// "%commander_path%" placeholder kept, so that saving does not replace it.
struct TSettingsForm {
  std::string WinampFolder;
  // Empty: the plug-in asks the player, and takes WinampFolder when it cannot tell.
  std::string PlaylistFolder;
  std::string Editor;
  std::string SettingsProgram;
  // One of the three modes; nothing when the stored number is none of them, which a
  // save then leaves as it is.
  std::optional<TDisplayMode> DisplayMode;
  std::string ExtFilter;
  bool BlockDead = true;
  bool DisableMulti = true;
  // 0: the ANSI code page.
  std::uint32_t TagCodePage = 0;
  bool NumberCopies = false;
};

// The form filled from the INI file (an empty path: every default), read through the
// platform's private-profile reader and the plug-in's own value rules.
TSettingsForm ReadSettingsForm(Platform& os, const std::string& iniPath);

// The assignments that saving the form makes, in the order of kSettingKeys.
std::vector<IniAssignment> FormAssignments(const TSettingsForm& form);

// The outcome of checking assignments: errors refuse the save, warnings do not.
struct SettingsCheck {
  std::vector<std::string> Errors;
  std::vector<std::string> Warnings;
};

// Checks every assignment and puts its value in the form that the plug-in reads back
// as meant: the player's folder gets its trailing separator, a display mode its
// decimal number, a switch 0 or 1, a playlist folder that is set its trailing separator. commanderPath replaces the placeholder for the
// length checks and for the look for the player's program.
SettingsCheck CheckAssignments(Platform& os, const std::string& commanderPath,
                               std::vector<IniAssignment>& assignments);

}  // namespace plenvox
