// The value of each content field (ContentFields.h) from what a file and its playlist
// entry give, and its writing into the host's buffer. A field that the file lacks is
// ft_fieldempty; nothing is made up.
//   - Title, Artist, Album, Year, Comment: the ID3v2 tag's, else the ID3v1 tag's; the
//     title else the entry's "#EXTINF:" title. Genre: ID3v2, else the ID3v1 genre's name.
//     Track: ID3v2's number, else ID3v1.1's.
//   - Length: the analyser's play time in whole seconds (as the listing's size column
//     shows it), as seconds, m:ss or h:mm:ss (a double with its display text).
//   - Bit rate: kbit/s of the first frame; of a file with a VBR header the average, from
//     the header's byte count (else the audio's bytes) over the play time, rounded.
//   - Encoder: the encoder tag near the end, else the printable text behind a Xing header.
//   - Texts of the tags are single-byte ANSI text (as the tag readers give them); the
//     "#EXTINF:" title is in the encoding of the playlist it came from.
#pragma once

#include <string>

#include "audio/MPEGaudio.h"
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
  const TMPEGaudio* Audio = nullptr;  // the file's analysis, when it was made
};

TFieldValue FieldValue(const TFieldSources& sources, int fieldIndex, int unitIndex);

// Writes the value into the host's buffer of maxlen bytes and answers the type to return
// (a string of the W call: ft_stringw, in UTF-16). Texts are cut to the buffer; a buffer
// too small for a number leaves it empty.
int WriteFieldValue(Platform& os, const TFieldValue& value, bool wide, void* buffer, int maxlen);

// The display text of a play time in the unit of kTimeUnits: "205", "3:25", "0:03:25".
std::string TimeText(std::int64_t seconds, int unitIndex);

}  // namespace plenvox
