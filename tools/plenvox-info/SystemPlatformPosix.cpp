#include "SystemPlatform.h"

#include "platform/posix/PosixPlatform.h"

namespace plenvox::info {

std::unique_ptr<Platform> MakeSystemPlatform() { return std::make_unique<PosixPlatform>(); }

}  // namespace plenvox::info
