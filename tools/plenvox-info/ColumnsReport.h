// What plenvox-info --columns prints for one file: the plug-in's content columns as the
// host's panel would show them for an entry naming the file (the entry's own fields,
// position and "#EXTINF:", are left out: a file given here is in no playlist).
#pragma once

#include <string>

#include "audio/AudioDescription.h"
#include "platform/Platform.h"

namespace plenvox::info {

// One line per field, "Name: value" ("Name: (empty)" for a field the file lacks).
std::string ColumnsReport(Platform& os, const std::string& fileName, const TAudioDescription& audio);

}  // namespace plenvox::info
