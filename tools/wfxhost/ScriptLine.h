// The words of one script line. Words are separated by blanks or tabs; a word in double
// quotes may hold blanks, and two double quotes inside it stand for one. A line whose
// first word starts with "#" is a comment. Backslashes have no special meaning, so
// Windows paths are written as they are.
#pragma once

#include <string>
#include <vector>

namespace plenvox::e2e {

std::vector<std::string> SplitScriptLine(const std::string& line);

// A word that is a whole number (decimal, or hexadecimal after "0x"); false for any other.
bool ScriptNumber(const std::string& word, int& value);

}  // namespace plenvox::e2e
