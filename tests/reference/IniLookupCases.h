// The cases of ini-lookup.cases: what the system's private-profile reader answers for
// an INI text, as observed under Wine. Read by the unit test of the portable reader and
// by the probe that asks the real reader under Wine, so that both hold to one table.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace plenvox::reference {

struct IniLookupCase {
  std::string Name;
  std::string Text;
  std::string Section;
  std::string Key;
  std::string Fallback;
  std::string Answer;
};

// \\ \t \r \n \v \f \0, \xNN (a byte) and \{Nc} (N times the character c).
inline std::string Unescaped(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char kind = field[++i];
    switch (kind) {
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 'v': out += '\v'; break;
      case 'f': out += '\f'; break;
      case '0': out += '\0'; break;
      case 'x':
        out += static_cast<char>(std::strtoul(std::string(field.substr(i + 1, 2)).c_str(), nullptr, 16));
        i += 2;
        break;
      case '{': {
        const auto close = field.find('}', i);
        const std::string run(field.substr(i + 1, close - i - 1));
        out.append(std::strtoul(run.c_str(), nullptr, 10), run.back());
        i = close;
        break;
      }
      default: out += kind; break;
    }
  }
  return out;
}

inline std::vector<IniLookupCase> ParseIniLookupCases(std::string_view text) {
  std::vector<IniLookupCase> cases;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> fields;
    for (std::string_view rest = line;;) {
      const auto tab = rest.find('\t');
      fields.push_back(Unescaped(rest.substr(0, tab)));
      if (tab == std::string_view::npos) break;
      rest.remove_prefix(tab + 1);
    }
    fields.resize(6);
    cases.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
  }
  return cases;
}

}  // namespace plenvox::reference
