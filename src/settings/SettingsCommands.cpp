#include "settings/SettingsCommands.h"

#include "config/Settings.h"
#include "settings/SettingsEdit.h"
#include "settings/SettingsReport.h"
#include "settings/SettingsSave.h"

namespace plenvox {

namespace {

constexpr const char* kNewLine = "\r\n";

void AddLines(std::string& to, const char* prefix, const std::vector<std::string>& lines) {
  for (const auto& line : lines) to += prefix + line + kNewLine;
}

}  // namespace

std::string UsageText() {
  std::string text =
      "Usage: settings.exe                          opens the settings dialog\r\n"
      "       settings.exe /show                    prints the settings as the plug-in loads them\r\n"
      "       settings.exe /set Section.Key=Value ...  stores values without the dialog\r\n"
      "Keys:";
  for (const auto& key : kSettingKeys) text += std::string(" ") + key.Section + "." + key.Key;
  return text + kNewLine;
}

int RunShowCommand(Platform& os, CommandOutput& output) {
  TSettings settings;
  LoadSettings(os, CaptureCommanderPath(os), settings);
  output.Out += FormatSettings(os, settings);
  output.Out += "PlaylistInUse=" + PlaylistFolderInUseNow(os, settings) + kNewLine;
  return kExitSuccess;
}

int RunSetCommand(Platform& os, const std::vector<std::string>& requests,
                  CommandOutput& output) {
  if (requests.empty()) {
    output.Error += "settings: /set needs at least one Section.Key=Value.\r\n" + UsageText();
    return kExitUsage;
  }
  std::vector<IniAssignment> assignments;
  for (const auto& request : requests) {
    IniAssignment assignment;
    std::string message;
    if (!ParseSetRequest(request, assignment, message)) {
      output.Error += "settings: " + message + kNewLine;
      return kExitUsage;
    }
    assignments.push_back(assignment);
  }
  const SettingsCheck check = CheckAssignments(os, CaptureCommanderPath(os), assignments);
  AddLines(output.Error, "settings: warning: ", check.Warnings);
  if (!check.Errors.empty()) {
    AddLines(output.Error, "settings: ", check.Errors);
    output.Error += std::string("settings: nothing was saved.") + kNewLine;
    return kExitFailure;
  }
  const SettingsLocation location = LocateSettings(os);
  std::string message;
  if (!SaveSettings(os, location, assignments, message)) {
    output.Error += "settings: " + message + kNewLine;
    return kExitFailure;
  }
  output.Out += "Saved " + location.IniPath + kNewLine;
  if (!location.Registered) {
    output.Out += std::string("Registered it as HKEY_CURRENT_USER\\") + kRegistryKey + "\\" +
                  kRegistryValueName + kNewLine;
  }
  return kExitSuccess;
}

}  // namespace plenvox
