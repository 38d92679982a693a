#include "ScriptLine.h"

#include <cstdlib>

namespace plenvox::e2e {

bool ScriptNumber(const std::string& word, int& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  value = static_cast<int>(std::strtol(word.c_str(), &end, 0));
  return end && *end == '\0';
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::vector<std::string> SplitScriptLine(const std::string& line) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < line.size()) {
    if (IsBlank(line[at])) {
      ++at;
      continue;
    }
    std::string word;
    if (line[at] == '"') {
      ++at;
      while (at < line.size()) {
        if (line[at] == '"') {
          if (at + 1 < line.size() && line[at + 1] == '"') {
            word += '"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        word += line[at++];
      }
    } else {
      while (at < line.size() && !IsBlank(line[at])) word += line[at++];
    }
    if (words.empty() && !word.empty() && word[0] == '#') break;
    words.push_back(word);
  }
  return words;
}

}  // namespace plenvox::e2e
