// What the front end asks of the host beyond the answers of its entry points: to show
// the user a message, to let the user pick a folder, and to list the folder again.
#pragma once

#include <optional>
#include <string>

namespace plenvox {

class Host {
 public:
  virtual ~Host() = default;

  // A modal message with the information icon and one OK button; returns once the
  // user has closed it.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // A folder of the file system that the user picks, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseFolder(const std::string& title) = 0;
  // Has the host read its current panel again.
  virtual void Refresh() = 0;
  // Whether the host copies on under a target name that the plug-in changed while copying
  // a file out (the interface allows a new name in the same folder; not every host reads
  // it back).
  virtual bool TakesRenamedTarget() const { return true; }
};

}  // namespace plenvox
