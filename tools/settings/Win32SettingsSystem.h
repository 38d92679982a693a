// The settings program's own system calls on Windows: the machine-wide registry
// entries of the player's installer, folder creation, the registry value that names
// the INI file, and the system's error texts.
#pragma once

#include "config/SettingsSystem.h"

namespace plenvox {

class Win32SettingsSystem : public SettingsSystem {
 public:
  std::optional<std::string> ReadMachineString(const std::string& subKey,
                                               const std::string& valueName) override;
  bool CreateFolders(const std::string& folder, std::uint32_t& error) override;
  bool WriteIniFileName(const std::string& iniPath, std::uint32_t& error) override;
  std::string DescribeError(std::uint32_t code) override;
};

}  // namespace plenvox
