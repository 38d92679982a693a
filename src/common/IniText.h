// The text rules of INI files as the system's private-profile reader applies them
// (GetPrivateProfileStringA; the cases in tests/reference/ini-lookup.cases were
// confirmed under Wine). One module for every side that must agree on them: the POSIX
// platform's reader, the settings program's writer and the tests' fake platform.
//
// - A line ends at a line feed, a carriage return, or both together; a UTF-8 byte-order
//   mark in front of the text is passed over.
// - "[name]" (blanks around it and inside the brackets ignored, anything after "]"
//   too) starts a section. A key is the text before the first "=", its value the text
//   after it. Section and key names match without regard to case.
// - Blanks are the C locale's white space (blank, tab, line and form feed, vertical tab,
//   carriage return) and Ctrl-Z; they are dropped around names and values.
// - A value enclosed in one pair of the same quotation marks (" or ') loses that pair.
// - A value ends at a zero byte; at most 2047 characters are delivered.
// - Only the first section of a name counts, and in it the first line of the key.
//   Lines starting with ";" are no comments to the reader: they are keys like others.
// - The fallback of a missing section or key loses its trailing blanks and one pair of
//   enclosing quotation marks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plenvox {

// The most characters that the reader delivers of one value.
constexpr std::size_t kIniValueMax = 2047;

bool IsIniBlank(char c);
std::string_view TrimIniBlanks(std::string_view text);

// The lines of an INI text, without their line ends.
std::vector<std::string_view> SplitIniLines(std::string_view text);

// True for a section header line; name receives the section's name.
bool IniSectionHeader(std::string_view line, std::string_view& name);
// True for a line holding a "="; key receives the trimmed text before it.
bool IniEntryKey(std::string_view line, std::string_view& key);

bool SameIniName(std::string_view a, std::string_view b);

// The reader's answer for section and key in the text, or the fallback.
std::string LookUpIniValue(std::string_view iniText, std::string_view section,
                           std::string_view key, std::string_view fallback);

// True when the value fits on one line of an INI file: no line break, no zero byte.
bool IsStorableIniValue(std::string_view value);

// The value as it stands after "Key=", so that the reader gives it back unchanged: a
// value with a blank at either end, or enclosed in a pair of the same quotation marks,
// is written inside a pair of double quotation marks; every other value as it is.
std::string QuoteIniValue(std::string_view value);

}  // namespace plenvox
