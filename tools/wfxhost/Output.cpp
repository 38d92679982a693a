#include "Output.h"

#include <cstdio>

#include "EscapedText.h"

namespace plenvox::e2e {

void PrintLine(std::initializer_list<std::string> fields) {
  PrintLine(std::vector<std::string>(fields));
}

void PrintLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '\t';
    line += fields[i];
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

bool Fail(const std::string& message) {
  PrintLine({"error", EscapedText(message)});
  return false;
}

std::string Hex(unsigned long long value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*llx", width, value);
  return buffer;
}

}  // namespace plenvox::e2e
