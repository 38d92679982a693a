// settings.exe: the program that writes the plug-in's settings. Without arguments it
// opens the settings dialog; "/show" and "/set" serve scripted installs (see
// SettingsCommands.h and README.md beside this file).
#include <exception>
#include <string>
#include <vector>

#include "Console.h"
#include "SettingsDialog.h"
#include "common/Text.h"
#include "settings/SettingsCommands.h"
#include "platform/win32/Win32Platform.h"

namespace plenvox {

namespace {

bool IsSwitch(const std::string& argument, const char* name) {
  const std::string lower = LowerAscii(argument);
  return !lower.empty() && (lower[0] == '/' || lower[0] == '-') && lower.substr(1) == name;
}

int Print(int code, const CommandOutput& output) {
  if (!output.Out.empty()) WriteOut(output.Out);
  if (!output.Error.empty()) WriteError(output.Error);
  return code;
}

int Run(const std::vector<std::string>& arguments) {
  Win32Platform os;
  CommandOutput output;
  if (arguments.empty()) return RunSettingsDialog(os);
  const std::string& mode = arguments.front();
  if (IsSwitch(mode, "show") && arguments.size() == 1) return Print(RunShowCommand(os, output), output);
  if (IsSwitch(mode, "set")) {
    const std::vector<std::string> requests(arguments.begin() + 1, arguments.end());
    return Print(RunSetCommand(os, requests, output), output);
  }
  if (IsSwitch(mode, "?") || IsSwitch(mode, "help")) {
    output.Out = UsageText();
    return Print(kExitSuccess, output);
  }
  output.Error = "settings: unknown arguments.\r\n" + UsageText();
  return Print(kExitUsage, output);
}

}  // namespace

}  // namespace plenvox

int main(int argc, char** argv) {
  try {
    return plenvox::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& failure) {
    plenvox::WriteError(std::string("settings: ") + failure.what() + "\r\n");
  } catch (...) {
    plenvox::WriteError("settings: unexpected failure.\r\n");
  }
  return plenvox::kExitFailure;
}
