// The two encodings in which the plug-in's core handles its byte strings, and the
// length rules that come with each. Which one is in force is decided at the host's
// edge (plugin/Plugin.h); the core only follows the rules of the one it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plenvox {

enum class TTextEncoding : std::uint8_t {
  // Single-byte text in the system's ANSI code page: the player's "winamp.m3u" and the
  // host's ANSI entry points.
  Ansi,
  // UTF-8: the player's "winamp.m3u8", for the host's Unicode entry points.
  Utf8,
};

// A UTF-8 line is kept whole up to this many bytes, cut at a character boundary
// beyond: the longest path that Windows can name (32767 UTF-16 units) takes at most
// three bytes per unit.
constexpr std::size_t kUtf8LineMax = 3 * 32767;

// The longest name that the host's Unicode find-data record holds: 260 UTF-16 units
// with the terminating zero.
constexpr std::size_t kWideNameMax = 259;

// A playlist line as the line rules deliver it: ANSI lines are short strings (their
// first 255 bytes); UTF-8 lines are whole up to kUtf8LineMax.
std::string CutLine(TTextEncoding encoding, std::string_view line);

// An entry's path as the host's record shows it, and as the name that the host hands
// back is matched: ANSI, the first 255 bytes; UTF-8, the whole characters that fit
// kWideNameMax UTF-16 units.
std::string CutName(TTextEncoding encoding, std::string_view path);
// The same as a view into path.
std::string_view NamePrefix(TTextEncoding encoding, std::string_view path);

// A playlist file's name in the encoding: the UTF-8 form of "x.m3u" is "x.m3u8".
std::string PlaylistFileName(std::string_view m3uName, TTextEncoding encoding);

}  // namespace plenvox
