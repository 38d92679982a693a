// The host's texts and the core's: the ANSI entry points pass ANSI text, the Unicode ones
// UTF-16; the core works in the encoding of the playlist in use (see Plugin.h), given
// here with each text. These convert at the edge, in either direction.
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace plenvox {

// A text of an ANSI entry point, or of a Unicode one, in the core's encoding; nothing
// when that encoding cannot hold it exactly (a name in a script that the ANSI code page
// lacks): such a name is never turned into another one, which could name another file.
// An ANSI text always converts.
std::optional<std::string> CoreText(Platform& os, TTextEncoding core, const std::string& ansi);
std::optional<std::string> CoreText(Platform& os, TTextEncoding core, const std::u16string& wide);

// A text of the core for the host's ANSI records ("?" for what the code page lacks).
std::string AnsiText(Platform& os, TTextEncoding core, const std::string& text);

}  // namespace plenvox
