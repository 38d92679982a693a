// The part of the player's command line that the stand-in understands.
#pragma once

#include <string>

namespace plenvox::e2e {

// What follows the program name on a command line (the program name may be quoted).
std::string ArgumentsOf(const std::string& commandLine);

// The playlist path of an "/ADD path" argument text (the switch in any letter case);
// empty when the arguments are not an "/ADD". The path is the whole rest of the line,
// blanks inside it included, without one pair of enclosing quotation marks.
std::string AddedPlaylistOf(const std::string& arguments);

}  // namespace plenvox::e2e
