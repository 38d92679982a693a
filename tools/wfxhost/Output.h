// The scripted host's output: one line per result or event, fields separated by tabs,
// written and flushed at once so that a runner that stops the host keeps every line.
#pragma once

#include <initializer_list>
#include <string>

namespace plenvox::e2e {

void PrintLine(std::initializer_list<std::string> fields);

// A number as lower-case hex digits, zero-padded to width.
std::string Hex(unsigned long long value, int width);

}  // namespace plenvox::e2e
