#include "Win32SettingsSystem.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <vector>

#include "config/Settings.h"

namespace plenvox {

namespace {

bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Expanded(const std::string& text) {
  const DWORD size = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::vector<char> buffer(size);
  if (::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size) == 0) return text;
  return std::string(buffer.data());
}

}  // namespace

std::optional<std::string> Win32SettingsSystem::ReadMachineString(const std::string& subKey,
                                                                  const std::string& valueName) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::optional<std::string> result;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    // One more zero than asked for: a stored string need not end with one.
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS) {
      const std::string text(data.data());
      result = type == REG_EXPAND_SZ ? Expanded(text) : text;
    }
  }
  ::RegCloseKey(key);
  return result;
}

bool Win32SettingsSystem::CreateFolders(const std::string& folder, std::uint32_t& error) {
  // Each folder from the top down; the parts that are no folder of their own (a drive,
  // a server and share) fail to be created and are passed over.
  error = ERROR_PATH_NOT_FOUND;
  for (std::size_t at = folder.find_first_of("\\/");; at = folder.find_first_of("\\/", at + 1)) {
    const std::string part = folder.substr(0, at);
    if (!part.empty() && !IsFolder(part) && !::CreateDirectoryA(part.c_str(), nullptr)) {
      error = ::GetLastError();
    }
    if (at == std::string::npos) break;
  }
  return IsFolder(folder);
}

bool Win32SettingsSystem::WriteIniFileName(const std::string& iniPath, std::uint32_t& error) {
  HKEY key = nullptr;
  LONG status = ::RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    // REG_SZ with its terminating zero, as the plug-in's reader expects.
    status = ::RegSetValueExA(key, kRegistryValueName, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(iniPath.c_str()),
                              static_cast<DWORD>(iniPath.size() + 1));
    ::RegCloseKey(key);
  }
  error = static_cast<std::uint32_t>(status);
  return status == ERROR_SUCCESS;
}

std::string Win32SettingsSystem::DescribeError(std::uint32_t code) {
  char buffer[512] = {};
  const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.' ||
                           text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "system error" : text;
}

}  // namespace plenvox
