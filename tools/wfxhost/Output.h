// The scripted host's output: one line per result or event, fields separated by tabs,
// written and flushed at once so that a runner that stops the host keeps every line.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace plenvox::e2e {

void PrintLine(std::initializer_list<std::string> fields);
void PrintLine(const std::vector<std::string>& fields);

// Reports what is wrong with the script (an "error" line); false, for the command's result.
bool Fail(const std::string& message);

// A number as lower-case hex digits, zero-padded to width.
std::string Hex(unsigned long long value, int width);

}  // namespace plenvox::e2e
