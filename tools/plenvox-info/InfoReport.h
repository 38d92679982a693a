// What plenvox-info prints for one analysed file: a readable summary, or one line of
// JSON with every field of the analyser, its frame, VBR header and both tag readers.
#pragma once

#include <string>

#include "audio/AudioDescription.h"
#include "audio/MPEGaudio.h"

namespace plenvox::info {

// One JSON object (no line end) for the file: "file", "loaded", "PlayTime",
// "FileLength", "EncoderTag", "Frame", "VBR", "ID3v1" and "ID3v2"; for a file of
// another format than MPEG audio also "Description" (format, audio properties, tags as
// UTF-8 bytes, the picture's place), so that MPEG files' lines stay as they were.
std::string JsonReport(const std::string& fileName, bool loaded, const TMPEGaudio& audio,
                       const TAudioDescription& description);

// Several lines for a person, each ending in a line feed; the description's lines for
// a file of another format.
std::string TextReport(const std::string& fileName, bool loaded, const TMPEGaudio& audio,
                       const TAudioDescription& description);

// Whether the description is of a format other than MPEG audio.
bool OtherFormat(const TAudioDescription& description);

}  // namespace plenvox::info
