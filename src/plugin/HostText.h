// The host's texts and the core's: the ANSI entry points pass ANSI text, the Unicode ones
// UTF-16; the core works in the encoding of the platform's texts (see Plugin.h). These
// convert at the edge, in either direction.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace plenvox {

// A text of an ANSI entry point, or of a Unicode one, in the core's encoding.
std::string CoreText(Platform& os, const std::string& ansi);
std::string CoreText(Platform& os, const std::u16string& wide);

// A text of the core for the host's ANSI records.
std::string AnsiText(Platform& os, const std::string& core);

}  // namespace plenvox
