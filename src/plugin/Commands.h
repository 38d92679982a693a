// Commands on the folder and its entries: save the playlist (typed on the host's
// command line), the settings program (properties of the folder), play an entry
// (open), and the editor (properties of an entry).
#pragma once

#include <optional>
#include <string>

#include "plugin/FrontEndPart.h"

namespace plenvox {

class Commands : FrontEndPart {
 public:
  using FrontEndPart::FrontEndPart;

  // 0 done, 1 error. Raises what the playlist lookup of "open" raises. A remote name that
  // the host gave in characters that the playlist's encoding cannot hold comes as
  // nothing: it is no entry, so "open" plays none (position -1, as for a name that the
  // playlist does not hold) and "properties" starts no editor with another name.
  int ExecuteFile(const std::optional<std::string>& remoteName, const std::string& verb);

 private:
  void SavePlaylistCopy();
  std::string BrowseFolder(const std::string& title);
  void PlayEntry(const std::optional<std::string>& remoteName);
};

}  // namespace plenvox
