// Play times as people read them.
#pragma once

#include <string>
#include <string_view>

namespace plenvox::info {

// Minutes and seconds, "m:ss", of a play time in seconds. Like the plug-in's listing it
// counts whole seconds, cutting the fraction toward zero; minutes are not folded into
// hours ("75:03"). A negative time (a frame found behind the end of the audio data)
// keeps its sign ("-0:05"); a time that is no number gives "?:??".
std::string MinutesSeconds(double seconds);

// A text for a terminal: printable ASCII as it is, bytes 0x80-0xFF as they are (they are
// in the system's code page), and every control byte as \xNN so that a tag cannot move
// the cursor or ring the bell.
std::string Printable(std::string_view bytes);

}  // namespace plenvox::info
