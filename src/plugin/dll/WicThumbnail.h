// A cover's bytes decoded by the system's image decoder (WIC, through its version-1
// factory, which every supported Windows has) and scaled into the host's box: the
// bitmap that the host's thumbnail view takes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "picture/ImageScale.h"

namespace plenvox::dll {

// A top-down 32-bit DIB section of the picture fitted into box (ImageScale.h), which
// the caller owns; nullptr when WIC cannot be had, the bytes do not decode, or the
// decoder reports dimensions beyond the limits (ImageSniff.h), checked before any pixel
// is decoded. COM is initialised for the call and uninitialised only where this call
// initialised it.
HBITMAP DecodeThumbnail(const std::vector<std::uint8_t>& bytes, TPixelSize box);

}  // namespace plenvox::dll
