// The value of each content field (ContentFields.h) from what a file and its playlist
// entry give, and its writing into the host's buffer. A field that the file lacks is
// ft_fieldempty; nothing is made up.
// Every value that needs the file comes from its description (audio/AudioDescription.h),
// whatever the format:
//   - Tags as the format's reader gives them (for MPEG: ID3v2, else ID3v1), whether or
//     not audio was found; the title else the entry's "#EXTINF:" title.
//   - Length: the play time in whole seconds (as the listing's size column shows it), as
//     seconds, m:ss or h:mm:ss (a double with its display text); empty without audio.
//   - Channel mode, VBR, Encoder, MPEG version and Layer: MPEG audio only.
//   - Tag texts are UTF-8 (the W call shows them exactly, the ANSI call converts them
//     with "?" for what the code page lacks); the "#EXTINF:" title is in the encoding of
//     the playlist it came from.
#pragma once

#include <string>

#include "audio/AudioDescription.h"
#include "platform/FindData.h"
#include "platform/Platform.h"
#include "plugin/ColumnSnapshot.h"
#include "plugin/Columns.h"

namespace plenvox {

struct TFieldSources {
  const TColumnEntry* Entry = nullptr;  // nothing for a file outside a playlist
  TTextEncoding EntryEncoding = TTextEncoding::Ansi;
  bool Found = false;  // the file was found; File is its record
  const TFileRecord* File = nullptr;
  const TAudioDescription* Audio = nullptr;  // the file's description, when it was made
};

TFieldValue FieldValue(const TFieldSources& sources, int fieldIndex, int unitIndex);

// Writes the value into the host's buffer of maxlen bytes and answers the type to return
// (a string of the W call: ft_stringw, in UTF-16). Texts are cut to the buffer; a buffer
// too small for a number leaves it empty.
int WriteFieldValue(Platform& os, const TFieldValue& value, bool wide, void* buffer, int maxlen);

// The display text of a play time in the unit of kTimeUnits: "205", "3:25", "0:03:25".
std::string TimeText(std::int64_t seconds, int unitIndex);

}  // namespace plenvox
