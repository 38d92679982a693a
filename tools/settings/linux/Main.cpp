// plenvox-settings: the settings program of the Linux edition, on the command line only.
// "/show" prints the settings as the plug-in loads them and the MPD connection; "/set"
// merges values into the INI file ($XDG_CONFIG_HOME/plenvox/plenvox.ini, see
// PosixPlatform.h), with the same checks as on Windows (see SettingsCommands.h).
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "common/FileNames.h"
#include "common/Text.h"
#include "config/Settings.h"
#include "platform/posix/PosixPlatform.h"
#include "settings/SettingsCommands.h"

namespace plenvox {

namespace {

// The core's texts end their lines in CR LF, as Windows consoles take them.
void Write(std::FILE* stream, const std::string& text) {
  const std::string lines = ReplaceAll(text, "\r\n", "\n");
  std::fwrite(lines.data(), 1, lines.size(), stream);
}

int Print(int code, const CommandOutput& output) {
  Write(stdout, output.Out);
  Write(stderr, output.Error);
  return code;
}

bool IsSwitch(const std::string& argument, const char* name) {
  const std::string lower = LowerAscii(argument);
  return !lower.empty() && (lower[0] == '/' || lower[0] == '-') && lower.substr(1) == name;
}

// The Linux edition's player is MPD, not a program in WinampFolder: the warning that
// the folder lacks the Windows player's program does not apply.
std::string WithoutPlayerProgramWarning(const std::string& errors) {
  std::string kept;
  std::size_t start = 0;
  while (start < errors.size()) {
    const std::size_t end = std::min(errors.find('\n', start), errors.size() - 1) + 1;
    const std::string line = errors.substr(start, end - start);
    const bool programWarning = line.find("warning: ") != std::string::npos &&
                                line.find(std::string(kPlayerProgramFile) + " is not in") != std::string::npos;
    if (!programWarning) kept += line;
    start = end;
  }
  return kept;
}

std::string MpdLines(Platform& os) {
  const TMpdSettings mpd = LoadMpdSettings(os);
  return "SettingsFile=" + ReadIniFileName(os) + "\nMPD.Host=" + mpd.Host + "\nMPD.Port=" +
         std::to_string(mpd.Port) + "\nMPD.MusicDirectory=" + mpd.MusicDirectory +
         "\nMPD.Timeout=" + std::to_string(mpd.TimeoutMs) + "\n";
}

std::string Usage() {
  std::string text =
      "Usage: plenvox-settings /show                      prints the settings as the plug-in loads them\n"
      "       plenvox-settings /set Section.Key=Value ...  stores values in the settings file\n"
      "Keys:";
  for (const auto& key : kSettingKeys) text += std::string(" ") + key.Section + "." + key.Key;
  for (const auto& key : kMpdSettingKeys) text += std::string(" ") + key.Section + "." + key.Key;
  return text + "\n";
}

int Run(const std::vector<std::string>& arguments) {
  PosixPlatform os;
  CommandOutput output;
  if (arguments.size() == 1 && IsSwitch(arguments[0], "show")) {
    const int code = RunShowCommand(os, output);
    output.Out += MpdLines(os);
    return Print(code, output);
  }
  if (!arguments.empty() && IsSwitch(arguments[0], "set")) {
    const int code =
        RunSetCommand(os, std::vector<std::string>(arguments.begin() + 1, arguments.end()), output);
    output.Error = WithoutPlayerProgramWarning(output.Error);
    return Print(code, output);
  }
  const bool help = arguments.size() == 1 && (IsSwitch(arguments[0], "?") || IsSwitch(arguments[0], "help"));
  (help ? output.Out : output.Error) = Usage();
  return Print(help ? kExitSuccess : kExitUsage, output);
}

}  // namespace

}  // namespace plenvox

int main(int argc, char** argv) {
  std::string failure = "unexpected failure";
  try {
    return plenvox::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& raised) {
    failure = raised.what();
  } catch (...) {
  }
  std::fprintf(stderr, "plenvox-settings: %s\n", failure.c_str());
  return plenvox::kExitFailure;
}
