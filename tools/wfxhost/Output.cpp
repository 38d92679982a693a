#include "Output.h"

#include <cstdio>

namespace plenvox::e2e {

void PrintLine(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty() || &field != fields.begin()) line += '\t';
    line += field;
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

std::string Hex(unsigned long long value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*llx", width, value);
  return buffer;
}

}  // namespace plenvox::e2e
