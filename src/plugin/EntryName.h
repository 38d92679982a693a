// The names of the folder's items: "\" followed by the entry's path.
#pragma once

#include <string>

namespace plenvox {

// An entry's path from its name in the folder: without the leading backslash, then cut
// to 255 characters.
std::string EntryPathOf(const std::string& remoteName);

}  // namespace plenvox
