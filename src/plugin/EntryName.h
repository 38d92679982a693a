// The names of the folder's items: "\" followed by the entry's path.
#pragma once

#include <string>

#include "common/TextEncoding.h"

namespace plenvox {

// An entry's path from its name in the folder: without the leading backslash, then cut
// by the name rule of the encoding (255 bytes of ANSI text, 259 UTF-16 units of UTF-8),
// as the listing cut the name that the host hands back.
std::string EntryPathOf(const std::string& remoteName, TTextEncoding encoding);

}  // namespace plenvox
