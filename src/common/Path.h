// Windows-style paths, as the plug-in and its programs take them apart and put them
// together. Taking apart, "\" and "/" both separate folders (the system accepts
// either); putting together, the plug-in writes "\".
#pragma once

#include <string>
#include <string_view>

namespace plenvox {

constexpr char kPathSeparator = '\\';

bool IsPathSeparator(char c);
bool EndsWithSeparator(std::string_view path);

// The folder part of a path, through its last "\", "/" or ":" (a drive); empty when it
// has none.
std::string FolderOf(std::string_view path);
// What follows the folder part.
std::string NameOf(std::string_view path);
// The name without its extension (from its last "."; a leading dot starts no extension).
std::string BaseNameOf(std::string_view path);

// A folder that ends with a separator: "\" (or the separator given, "/" on Linux) is
// added unless it ends with one already; an empty folder stays empty.
std::string WithTrailingSeparator(std::string folder, char separator = kPathSeparator);
// A folder without its trailing separators; a lone separator (a root) stays.
std::string WithoutTrailingSeparator(std::string folder);

// The name inside the folder: the folder, "\" unless the folder already ends with a
// backslash, and the name. An empty folder gives "\name", the root of the current drive.
// With another separator ("/" on Linux) that one is written and looked for instead.
std::string JoinPath(std::string_view folder, std::string_view name, char separator = kPathSeparator);

}  // namespace plenvox
