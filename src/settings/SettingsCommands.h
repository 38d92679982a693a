// The settings program's command-line modes, for scripted installs:
//   /show                     prints the settings as the plug-in loads them
//   /set Section.Key=Value... merges the values into the INI file, without a dialog
// Each gives the program's exit code and the texts for standard output and error.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace plenvox {

// Exit codes of the settings program.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;  // a value refused, a file or the registry not written, a dialog cancelled
constexpr int kExitUsage = 2;    // a command line that the program does not understand

struct CommandOutput {
  std::string Out;
  std::string Error;
};

int RunShowCommand(Platform& os, CommandOutput& output);

// Nothing is written unless every request is understood and every value passes its
// checks; warnings are printed and do not stop the save.
int RunSetCommand(Platform& os, const std::vector<std::string>& requests,
                  CommandOutput& output);

// How to call the program.
std::string UsageText();

}  // namespace plenvox
