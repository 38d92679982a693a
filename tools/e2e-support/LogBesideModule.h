// Logs that the stand-in programs keep beside their own executable, where the
// end-to-end runner reads them. Each line is appended with its own open and close, so
// that two instances of one program (the player handing a playlist to its running
// instance) write one log in the order of their lines.
#pragma once

#include <string>

namespace plenvox::e2e {

// The folder of the running executable, ending with a backslash.
std::string ModuleFolder();

// The running executable's file name without folder and extension ("winamp").
std::string ModuleBaseName();

// Appends line and a line feed to the file; gives up quietly when it cannot be written.
void AppendLine(const std::string& path, const std::string& line);

}  // namespace plenvox::e2e
