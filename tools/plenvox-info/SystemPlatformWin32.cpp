#include "SystemPlatform.h"

#include "platform/win32/Win32Platform.h"

namespace plenvox::info {

std::unique_ptr<Platform> MakeSystemPlatform() { return std::make_unique<Win32Platform>(); }

}  // namespace plenvox::info
