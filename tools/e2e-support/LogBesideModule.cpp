#include "LogBesideModule.h"

#include <windows.h>

#include "common/Path.h"

namespace plenvox::e2e {

namespace {

std::string ModulePath() {
  char buffer[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, n < MAX_PATH ? n : 0);
}

}  // namespace

std::string ModuleFolder() { return FolderOf(ModulePath()); }

std::string ModuleBaseName() { return BaseNameOf(ModulePath()); }

void AppendLine(const std::string& path, const std::string& line) {
  HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

}  // namespace plenvox::e2e
