// The settings dialog: shows the values stored in the INI file (proposing the player's
// folder and the INI file's place to a new user), checks what the user entered, and
// saves on OK. Cancel changes nothing.
#pragma once

#include "platform/Platform.h"

namespace plenvox {

// Runs the modal dialog; the program's exit code: kExitSuccess when OK saved,
// kExitFailure when the user cancelled.
int RunSettingsDialog(Platform& os);

}  // namespace plenvox
