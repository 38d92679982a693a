// Standard output and error of the settings program. It is a GUI program (so that
// starting it from the file manager opens no console window), so its text goes to
// the handles it was given when they are redirected, or else to the console of the
// program that started it.
#pragma once

#include <string>

namespace plenvox {

void WriteOut(const std::string& text);
void WriteError(const std::string& text);

}  // namespace plenvox
