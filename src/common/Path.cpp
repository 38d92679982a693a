#include "common/Path.h"

namespace plenvox {

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

bool EndsWithSeparator(std::string_view path) { return !path.empty() && IsPathSeparator(path.back()); }

std::string FolderOf(std::string_view path) {
  const auto separator = path.find_last_of("\\/:");
  return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator + 1));
}

std::string NameOf(std::string_view path) { return std::string(path.substr(FolderOf(path).size())); }

std::string BaseNameOf(std::string_view path) {
  std::string name = NameOf(path);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string WithTrailingSeparator(std::string folder, char separator) {
  if (!folder.empty() && !EndsWithSeparator(folder)) folder += separator;
  return folder;
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && EndsWithSeparator(folder)) folder.pop_back();
  return folder;
}

std::string JoinPath(std::string_view folder, std::string_view name, char separator) {
  std::string path(folder);
  // Only a backslash counts here: the folder texts joined this way (the temporary
  // folder, the picker's answer) are the system's own, and the result must stay the
  // text the player and the tests have always been handed.
  if (path.empty() || path.back() != separator) path += separator;
  return path.append(name);
}

}  // namespace plenvox
