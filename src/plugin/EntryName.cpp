#include "plugin/EntryName.h"

#include "common/Text.h"

namespace plenvox {

std::string EntryPathOf(const std::string& remoteName) {
  return CutShort(remoteName.empty() ? remoteName : remoteName.substr(1));
}

}  // namespace plenvox
