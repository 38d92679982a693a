// The readers of each audio format, one per container, all over one open file. Each is
// called for a file whose first bytes name its format and fills what it finds into the
// description; false only when a read of the file fails. A structure that the file cuts
// short or that contradicts itself ends the reading with what was found before it.
#pragma once

#include <cstdint>

#include "audio/AudioDescription.h"
#include "audio/AudioFileReader.h"
#include "audio/TagText.h"

namespace plenvox {

struct TFormatReading {
  AudioFileReader& File;
  const TTagTextDecoder& Text;
  TAudioDescription& Description;
};

// The ID3v2 tag at offset (the file's start, or a chunk of WAV and AIFF) into tags: the
// text frames in every encoding, the first picture's place. Nothing without a tag there.
// tagEnd receives the first byte after the tag (offset when there is none).
bool ReadId3v2Tags(TFormatReading& reading, std::int64_t offset, TTagsUtf8& tags,
                   std::int64_t& tagEnd);
// The ID3v1 tag in the file's last 128 bytes, when there is one.
void ReadId3v1Tags(ByteSpan fileEnd, const TTagTextDecoder& text, TTagsUtf8& tags);
// A Vorbis comment block (FLAC, Ogg Vorbis, Opus and Ogg FLAC share it) from its vendor
// length on; the first of repeated names wins.
void ParseVorbisComments(ByteSpan block, TAudioDescription& description);

bool ReadFlac(TFormatReading& reading, std::int64_t start);
bool ReadOgg(TFormatReading& reading);
bool ReadWav(TFormatReading& reading);
bool ReadAiff(TFormatReading& reading);
bool ReadMp4(TFormatReading& reading);
bool ReadAsf(TFormatReading& reading);

// Play time and bit rate from a sample count and the bytes of the audio.
void SetLength(TAudioDescription& description, double samples, double rate, std::int64_t audioBytes);

}  // namespace plenvox
