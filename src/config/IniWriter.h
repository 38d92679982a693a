// Composing the text of an INI file so that the private-profile reader gives every
// value back exactly as it was meant. No file is touched here: the text goes in and
// out as bytes.
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

// True when the value fits on one line of an INI file: no line break, no zero byte.
bool IsStorableIniValue(std::string_view value);

// The value as it stands after "Key=". The reader drops blanks around a value and one
// pair of enclosing quotation marks (either kind), so a value that has blanks at
// either end, or starts and ends with the same quotation mark, is written inside a
// pair of double quotation marks; every other value is written as it is.
std::string QuoteIniValue(std::string_view value);

// The INI text with the assignments made. A key that its section already holds gets
// its line rewritten (the first such line; section and key names match without
// regard to case, as the reader matches them); a missing key is added after the last
// entry of its section; a missing section is added at the end. Every other line
// (comments, other keys, other sections) is kept. Lines end with CR LF.
std::string ApplyIniAssignments(std::string_view text,
                                const std::vector<IniAssignment>& assignments);

}  // namespace plenvox
