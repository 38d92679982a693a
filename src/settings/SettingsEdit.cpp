#include "settings/SettingsEdit.h"

#include <algorithm>

#include "common/FileNames.h"
#include "common/IniText.h"
#include "common/Path.h"
#include "common/Text.h"

namespace plenvox {

namespace {

constexpr int kDisplayModeCount = 3;

bool Is(const IniAssignment& assignment, const SettingKey& key) {
  return SameIniName(assignment.Key, key.Key);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A path value must reach the plug-in whole, as written and with the placeholder replaced.
void CheckPathLength(const IniAssignment& assignment, const std::string& commanderPath,
                     std::size_t max, SettingsCheck& check) {
  const std::string expanded = ReplaceAll(assignment.Value, kCommanderPathPlaceholder, commanderPath);
  const std::size_t longest = std::max(assignment.Value.size(), expanded.size());
  if (longest <= max) return;
  check.Errors.push_back(assignment.Section + "." + assignment.Key + " is " +
                         std::to_string(longest) + " characters long; the plug-in takes at most " +
                         std::to_string(max) + ".");
}

// A folder that the plug-in puts one of the player's files straight after: it gets its
// trailing separator, must leave room for the file within a short string, and should
// hold it (a warning).
void CheckFolderOfFile(Platform& os, const std::string& commanderPath, std::string_view file,
                       const char* what, IniAssignment& assignment, SettingsCheck& check) {
  assignment.Value = WithTrailingSeparator(assignment.Value, os.PathSeparator());
  CheckPathLength(assignment, commanderPath, kShortStringMax - file.size(), check);
  const std::string folder = ReplaceAll(assignment.Value, kCommanderPathPlaceholder, commanderPath);
  if (!os.FileExists(folder + std::string(file))) {
    check.Warnings.push_back(std::string("The player's ") + what + " " + std::string(file) +
                             " is not in the folder " + folder + ".");
  }
}

void CheckWinampFolder(Platform& os, const std::string& commanderPath, IniAssignment& assignment,
                       SettingsCheck& check) {
  if (assignment.Value.empty()) {
    check.Errors.push_back("The player's folder is empty; the plug-in needs it to find the player.");
    return;
  }
  // The plug-in puts the player's program and playlist straight after the folder.
  CheckFolderOfFile(os, commanderPath, kPlayerProgramFile, "program", assignment, check);
}

void CheckPlaylistFolder(Platform& os, const std::string& commanderPath, IniAssignment& assignment,
                         SettingsCheck& check) {
  if (assignment.Value.empty()) return;  // the player is asked
  CheckFolderOfFile(os, commanderPath, kPlayerPlaylistFile, "playlist", assignment, check);
}

void CheckDisplayMode(IniAssignment& assignment, SettingsCheck& check) {
  std::int32_t mode = -1;
  if (ParseInt32(assignment.Value, mode) && mode >= 0 && mode < kDisplayModeCount) {
    assignment.Value = std::to_string(mode);
    return;
  }
  check.Errors.push_back("Mode.DisplayMode must be 0 (name only), 1 (file data) or 2 (play time), not " +
                         Quoted(assignment.Value) + ".");
}

// Words a user may write for a switch. The plug-in itself reads only numbers (and takes
// a word such as "false" as on), so the words are stored as 0 or 1.
constexpr const char* kOnWords[] = {"on", "true", "yes"};
constexpr const char* kOffWords[] = {"off", "false", "no"};

std::optional<bool> SwitchWord(const std::string& value) {
  const std::string word = LowerAscii(value);
  for (const char* on : kOnWords) {
    if (word == on) return true;
  }
  for (const char* off : kOffWords) {
    if (word == off) return false;
  }
  std::int32_t number = 0;
  if (ParseInt32(value, number)) return number != 0;
  return std::nullopt;
}

// A whole number from min to max, stored in decimal.
void CheckNumber(IniAssignment& assignment, std::int32_t min, std::int32_t max, SettingsCheck& check) {
  std::int32_t number = 0;
  if (ParseInt32(assignment.Value, number) && number >= min && number <= max) {
    assignment.Value = std::to_string(number);
    return;
  }
  check.Errors.push_back(assignment.Section + "." + assignment.Key + " must be a number from " +
                         std::to_string(min) + " to " + std::to_string(max) + ", not " +
                         Quoted(assignment.Value) + ".");
}

void CheckSwitch(IniAssignment& assignment, SettingsCheck& check) {
  const auto on = SwitchWord(assignment.Value);
  if (on) {
    assignment.Value = *on ? "1" : "0";
    return;
  }
  check.Errors.push_back(assignment.Section + "." + assignment.Key +
                         " must be 1 (on) or 0 (off), not " + Quoted(assignment.Value) + ".");
}

void CheckOne(Platform& os, const std::string& commanderPath, IniAssignment& assignment,
              SettingsCheck& check) {
  if (!IsStorableIniValue(assignment.Value)) {
    check.Errors.push_back(assignment.Section + "." + assignment.Key +
                           " holds a line break, which an INI file cannot store.");
  } else if (Is(assignment, ini::kWinampFolder)) {
    CheckWinampFolder(os, commanderPath, assignment, check);
  } else if (Is(assignment, ini::kPlaylistFolder)) {
    CheckPlaylistFolder(os, commanderPath, assignment, check);
  } else if (Is(assignment, ini::kEditor) || Is(assignment, ini::kSettings)) {
    CheckPathLength(assignment, commanderPath, kShortStringMax, check);
  } else if (Is(assignment, ini::kDisplayMode)) {
    CheckDisplayMode(assignment, check);
  } else if (Is(assignment, ini::kExtFilter)) {
    if (assignment.Value.size() > kIniValueMax) {
      check.Errors.push_back("Mode.ExtFilter is " + std::to_string(assignment.Value.size()) +
                             " characters long; the plug-in reads at most " +
                             std::to_string(kIniValueMax) + ".");
    }
  } else if (Is(assignment, ini::kBlockDead) || Is(assignment, ini::kDisableMulti) ||
             Is(assignment, ini::kNumberCopies)) {
    CheckSwitch(assignment, check);
  } else if (Is(assignment, ini::kTagCodePage)) {
    CheckNumber(assignment, 0, 65535, check);
  } else if (Is(assignment, ini::kMpdPort)) {
    CheckNumber(assignment, 0, 65535, check);
  } else if (Is(assignment, ini::kMpdTimeout)) {
    CheckNumber(assignment, 1000, 600000, check);  // libmpdclient counts whole seconds
  } else if (Is(assignment, ini::kMpdHost) || Is(assignment, ini::kMpdMusicDirectory)) {
    // Any text: a socket, a host name, a folder.
  } else {
    check.Errors.push_back("Unknown setting " + assignment.Section + "." + assignment.Key + ".");
  }
}

}  // namespace

std::optional<SettingKey> FindSettingKey(std::string_view sectionDotKey) {
  const auto named = [&](const SettingKey& key) {
    return SameIniName(sectionDotKey, std::string(key.Section) + "." + key.Key);
  };
  for (const auto& key : kSettingKeys) {
    if (named(key)) return key;
  }
  // The Linux edition's MPD connection; the Windows editions do not read it.
  for (const auto& key : kMpdSettingKeys) {
    if (named(key)) return key;
  }
  return std::nullopt;
}

bool ParseSetRequest(std::string_view request, IniAssignment& assignment, std::string& message) {
  const auto eq = request.find('=');
  if (eq == std::string_view::npos) {
    message = "Expected Section.Key=Value, not " + Quoted(request) + ".";
    return false;
  }
  const auto key = FindSettingKey(request.substr(0, eq));
  if (!key) {
    message = "Unknown setting " + Quoted(request.substr(0, eq)) + "; known settings:";
    for (const auto& known : kSettingKeys) message += std::string(" ") + known.Section + "." + known.Key;
    message += ".";
    return false;
  }
  assignment = IniAssignment{key->Section, key->Key, std::string(request.substr(eq + 1))};
  return true;
}

TSettingsForm ReadSettingsForm(Platform& os, const std::string& iniPath) {
  const auto stored = [&](const SettingKey& key) { return ReadSettingText(os, iniPath, key); };
  TSettingsForm form;
  form.WinampFolder = stored(ini::kWinampFolder);
  form.PlaylistFolder = stored(ini::kPlaylistFolder);
  form.Editor = stored(ini::kEditor);
  form.SettingsProgram = stored(ini::kSettings);
  const TDisplayMode displayMode = DisplayModeValue(stored(ini::kDisplayMode));
  if (static_cast<int>(displayMode) < kDisplayModeCount) form.DisplayMode = displayMode;
  form.ExtFilter = stored(ini::kExtFilter);
  form.BlockDead = SwitchValue(stored(ini::kBlockDead), ini::kBlockDead);
  form.DisableMulti = SwitchValue(stored(ini::kDisableMulti), ini::kDisableMulti);
  form.TagCodePage = CodePageValue(stored(ini::kTagCodePage));
  form.NumberCopies = SwitchValue(stored(ini::kNumberCopies), ini::kNumberCopies);
  return form;
}

std::vector<IniAssignment> FormAssignments(const TSettingsForm& form) {
  const auto assign = [](const SettingKey& key, const std::string& value) {
    return IniAssignment{key.Section, key.Key, value};
  };
  const auto flag = [](bool on) { return on ? "1" : "0"; };
  std::vector<IniAssignment> assignments = {
      assign(ini::kWinampFolder, form.WinampFolder),
      assign(ini::kPlaylistFolder, form.PlaylistFolder),
      assign(ini::kEditor, form.Editor),
      assign(ini::kSettings, form.SettingsProgram),
  };
  if (form.DisplayMode) {
    assignments.push_back(assign(ini::kDisplayMode, std::to_string(static_cast<int>(*form.DisplayMode))));
  }
  assignments.push_back(assign(ini::kExtFilter, form.ExtFilter));
  assignments.push_back(assign(ini::kBlockDead, flag(form.BlockDead)));
  assignments.push_back(assign(ini::kDisableMulti, flag(form.DisableMulti)));
  assignments.push_back(assign(ini::kTagCodePage, std::to_string(form.TagCodePage)));
  assignments.push_back(assign(ini::kNumberCopies, flag(form.NumberCopies)));
  return assignments;
}

SettingsCheck CheckAssignments(Platform& os, const std::string& commanderPath,
                               std::vector<IniAssignment>& assignments) {
  SettingsCheck check;
  for (auto& assignment : assignments) CheckOne(os, commanderPath, assignment, check);
  return check;
}

}  // namespace plenvox
