#include "CommandLine.h"

namespace plenvox::e2e {

namespace {

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string ArgumentsOf(const std::string& commandLine) {
  std::size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const auto close = commandLine.find('"', 1);
    at = close == std::string::npos ? commandLine.size() : close + 1;
  } else {
    at = commandLine.find_first_of(" \t");
    if (at == std::string::npos) at = commandLine.size();
  }
  return TrimBlanks(commandLine.substr(at));
}

std::string AddedPlaylistOf(const std::string& arguments) {
  if (arguments.size() < 5) return std::string();
  std::string word = arguments.substr(0, 4);
  for (char& c : word) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (word != "/ADD" || (arguments[4] != ' ' && arguments[4] != '\t')) return std::string();
  std::string path = TrimBlanks(arguments.substr(5));
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  return path;
}

}  // namespace plenvox::e2e
