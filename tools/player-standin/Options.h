// What the stand-in plays, from "standin.ini" beside it (section [standin]); without the
// file it is the old player: its playlist in its own folder, ANSI only, no answer to
// the folder requests.
//   PlaylistFolder=FOLDER   keeps winamp.m3u (and winamp.m3u8) in FOLDER, as an installed
//                           player of today keeps it in the user's settings folder
//   Answers=337 338         answers these requests with a pointer to FOLDER in its own
//                           memory (337 ANSI text, 338 UTF-16), as players since 5.11 do
//   Unicode=1               a Unicode player: holds its entries as UTF-8, writes
//                           winamp.m3u8 (UTF-8) right after winamp.m3u (which has "?" for
//                           what the ANSI code page lacks), loads winamp.m3u8 at start when
//                           it is there, reads a ".m3u8" handed with "/ADD" as UTF-8 and
//                           takes its command line through the W function
#pragma once

#include <string>

namespace plenvox::e2e {

struct TStandinOptions {
  std::wstring PlaylistFolder;  // ends with a backslash
  bool AnswersAnsiFolder = false;
  bool AnswersWideFolder = false;
  bool Unicode = false;
};

// folder: the stand-in's own folder, ending with a backslash.
TStandinOptions LoadOptions(const std::wstring& folder);

}  // namespace plenvox::e2e
