// Which of the player's two playlist files the Unicode entry points read. A player of
// today writes "winamp.m3u8" (UTF-8) with every "winamp.m3u" (ANSI, "?" for what the
// code page lacks); an older one writes only "winamp.m3u", and a "winamp.m3u8" left by
// an earlier player is older than it.
#pragma once

#include <string>

#include "common/TextEncoding.h"
#include "platform/Platform.h"

namespace plenvox {

// UTF-8 when the folder (in UTF-8) holds a "winamp.m3u8" that is not older than its
// "winamp.m3u" (or that is there alone); else ANSI. The folder is joined with the file
// names as written (as WinampFolder is); both are looked up through the W functions.
TTextEncoding ChoosePlaylistEncoding(Platform& os, const std::string& folder);

}  // namespace plenvox
