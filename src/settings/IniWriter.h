// Composing the text of an INI file so that the private-profile reader gives every
// value back exactly as it was meant (the reader's rules: common/IniText.h). No file
// is touched here: the text goes in and out as bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plenvox {

// One value to store: the reader, asked for Section/Key, is to answer Value.
struct IniAssignment {
  std::string Section;
  std::string Key;
  std::string Value;
};

// The INI text with the assignments made. A key that its section already holds gets
// its line rewritten (the first section of the name, the first such line, names
// matched as the reader matches them); a missing key is added after the last entry of
// its section; a missing section is added at the end. Every other line (comments,
// other keys, other sections) is kept. Lines end with CR LF.
std::string ApplyIniAssignments(std::string_view text,
                                const std::vector<IniAssignment>& assignments);

}  // namespace plenvox
