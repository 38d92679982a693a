// What plenvox-info prints for one analysed file: a readable summary, or one line of
// JSON with every field of the analyser, its frame, VBR header and both tag readers.
#pragma once

#include <string>

#include "audio/MPEGaudio.h"

namespace plenvox::info {

// One JSON object (no line end) for the file: "file", "loaded", "PlayTime",
// "FileLength", "EncoderTag", "Frame", "VBR", "ID3v1" and "ID3v2".
std::string JsonReport(const std::string& fileName, bool loaded, const TMPEGaudio& audio);

// Several lines for a person, each ending in a line feed.
std::string TextReport(const std::string& fileName, bool loaded, const TMPEGaudio& audio);

}  // namespace plenvox::info
