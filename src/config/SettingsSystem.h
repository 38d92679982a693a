// What the settings program needs from the system beyond the plug-in's read-only
// platform seam: it alone creates the INI file's folder and writes the registry value
// that names the INI file, and it looks for the player where its installer registers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace plenvox {

class SettingsSystem {
 public:
  virtual ~SettingsSystem() = default;
  // A string value under HKEY_LOCAL_MACHINE in the view of 32-bit programs (the
  // player is one), or nothing when the key or value is missing or not a string.
  virtual std::optional<std::string> ReadMachineString(const std::string& subKey,
                                                       const std::string& valueName) = 0;
  // Creates the folder and every missing folder above it; true when it exists afterwards.
  virtual bool CreateFolders(const std::string& folder, std::uint32_t& error) = 0;
  // Stores iniPath as the REG_SZ value kRegistryValueName under HKEY_CURRENT_USER
  // kRegistryKey, creating the key when needed.
  virtual bool WriteIniFileName(const std::string& iniPath, std::uint32_t& error) = 0;
  // The system's text for an error code, for messages to the user.
  virtual std::string DescribeError(std::uint32_t code) = 0;
};

}  // namespace plenvox
