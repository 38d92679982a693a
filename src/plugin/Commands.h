// Commands on the folder and its entries: save the playlist (typed on the host's
// command line), the settings program (properties of the folder), play an entry
// (open), and the editor (properties of an entry).
#pragma once

#include <string>

#include "plugin/FrontEndPart.h"

namespace plenvox {

class Commands : FrontEndPart {
 public:
  using FrontEndPart::FrontEndPart;

  // 0 done, 1 error. Raises what the playlist lookup of "open" raises.
  int ExecuteFile(const std::string& remoteName, const std::string& verb);

 private:
  void SavePlaylistCopy();
  std::string BrowseFolder(const std::string& title);
  void PlayEntry(const std::string& remoteName);
};

}  // namespace plenvox
