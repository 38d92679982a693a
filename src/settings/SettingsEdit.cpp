#include "settings/SettingsEdit.h"

#include <algorithm>

#include "common/IniText.h"
#include "common/Text.h"

namespace plenvox {

namespace {

// The player's program follows the folder in a short string of 255 characters.
constexpr std::size_t kWinampFolderMax = kShortStringMax - std::char_traits<char>::length("winamp.exe");

bool SameName(std::string_view a, std::string_view b) { return LowerAscii(a) == LowerAscii(b); }

bool Is(const IniAssignment& assignment, const char* key) {
  return SameName(assignment.Key, key);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

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

void CheckWinampFolder(Platform& os, const std::string& commanderPath, IniAssignment& assignment,
                       SettingsCheck& check) {
  if (assignment.Value.empty()) {
    check.Errors.push_back("The player's folder is empty; the plug-in needs it to find the player.");
    return;
  }
  // The plug-in puts "winamp.exe" and "winamp.m3u" straight after the folder.
  if (!EndsWithSeparator(assignment.Value)) assignment.Value += '\\';
  CheckPathLength(assignment, commanderPath, kWinampFolderMax, check);
  const std::string folder = ReplaceAll(assignment.Value, kCommanderPathPlaceholder, commanderPath);
  if (!os.FileExists(folder + "winamp.exe")) {
    check.Warnings.push_back("The player's program winamp.exe is not in the folder " + folder + ".");
  }
}

void CheckDisplayMode(IniAssignment& assignment, SettingsCheck& check) {
  std::int32_t mode = -1;
  if (ParseInt32(assignment.Value, mode) && mode >= 0 && mode <= 2) {
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
  } else if (Is(assignment, ini::kBlockDead) || Is(assignment, ini::kDisableMulti)) {
    CheckSwitch(assignment, check);
  } else {
    check.Errors.push_back("Unknown setting " + assignment.Section + "." + assignment.Key + ".");
  }
}

// The stored text of a key, or its default when nothing is stored.
std::string StoredValue(Platform& os, const std::string& iniPath, const char* section,
                        const char* key) {
  const auto found = FindSettingKey(std::string(section) + "." + key);
  const std::string fallback = found ? found->Default : "";
  return iniPath.empty() ? fallback : os.ReadIniString(section, key, fallback, iniPath);
}

}  // namespace

std::optional<SettingKey> FindSettingKey(std::string_view sectionDotKey) {
  for (const auto& key : kSettingKeys) {
    if (SameName(sectionDotKey, std::string(key.Section) + "." + key.Key)) return key;
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
  const auto value = [&](const char* key) { return StoredValue(os, iniPath, ini::kPathSection, key); };
  const auto mode = [&](const char* key) { return StoredValue(os, iniPath, ini::kModeSection, key); };
  TSettingsForm form;
  form.WinampFolder = value(ini::kWinampFolder);
  form.Editor = value(ini::kEditor);
  form.SettingsProgram = value(ini::kSettings);
  const int displayMode = IntegerValue(mode(ini::kDisplayMode), ini::kDefaultDisplayMode) & 0xFF;
  if (displayMode <= 2) form.DisplayMode = displayMode;
  form.ExtFilter = mode(ini::kExtFilter);
  form.BlockDead = SwitchValue(mode(ini::kBlockDead));
  form.DisableMulti = SwitchValue(mode(ini::kDisableMulti));
  return form;
}

std::vector<IniAssignment> FormAssignments(const TSettingsForm& form) {
  const auto path = [](const char* key, const std::string& value) {
    return IniAssignment{ini::kPathSection, key, value};
  };
  const auto mode = [](const char* key, const std::string& value) {
    return IniAssignment{ini::kModeSection, key, value};
  };
  std::vector<IniAssignment> assignments = {
      path(ini::kWinampFolder, form.WinampFolder),
      path(ini::kEditor, form.Editor),
      path(ini::kSettings, form.SettingsProgram),
  };
  if (form.DisplayMode) assignments.push_back(mode(ini::kDisplayMode, std::to_string(*form.DisplayMode)));
  assignments.push_back(mode(ini::kExtFilter, form.ExtFilter));
  assignments.push_back(mode(ini::kBlockDead, form.BlockDead ? "1" : "0"));
  assignments.push_back(mode(ini::kDisableMulti, form.DisableMulti ? "1" : "0"));
  return assignments;
}

SettingsCheck CheckAssignments(Platform& os, const std::string& commanderPath,
                               std::vector<IniAssignment>& assignments) {
  SettingsCheck check;
  for (auto& assignment : assignments) CheckOne(os, commanderPath, assignment, check);
  return check;
}

}  // namespace plenvox
