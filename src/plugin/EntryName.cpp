#include "plugin/EntryName.h"



namespace plenvox {

std::string EntryPathOf(const std::string& remoteName, TTextEncoding encoding) {
  return CutName(encoding, remoteName.empty() ? remoteName : remoteName.substr(1));
}

}  // namespace plenvox
