// Which files may be added to the playlist, by their extension: the filter "ExtFilter"
// lists the allowed extensions without their dots, separated by colons ("mp3:wav").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/Settings.h"
#include "platform/Platform.h"

namespace plenvox {

// The extension of a local path, dot included: from the last "." to the end, unless a
// "\" or ":" follows that dot (the dot then belongs to a folder or a drive); else empty.
// At most 255 characters.
std::string ExtensionOf(std::string_view path);

// The filter's items: the pieces between colons, in the encoding given (single-byte
// ANSI text, or UTF-8), A to Z lower-cased,
// each cut to 255 characters. A colon at the very end starts no further item; an empty
// filter has none; two neighbouring colons hold an empty item.
std::vector<std::string> FilterItems(Platform& os, TTextEncoding encoding,
                                     const std::u16string& filter);

// True when the extension (in the encoding given), without its first character (the
// dot) and with A to Z lower-cased, equals one of the items of the settings' ExtFilter.
bool ExtAllowed(Platform& os, TTextEncoding encoding, const TSettings& settings,
                std::string_view extension);

}  // namespace plenvox
