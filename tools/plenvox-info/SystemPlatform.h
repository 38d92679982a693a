// The real platform of the machine the tool runs on; the build picks the Win32 or the
// POSIX implementation.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace plenvox::info {

std::unique_ptr<Platform> MakeSystemPlatform();

}  // namespace plenvox::info
