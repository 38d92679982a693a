// The description of an audio file (AudioDescription.h), made by the reader that its first
// bytes name: FLAC (also behind an ID3v2 tag), Ogg (Vorbis, Opus, FLAC), WAV, AIFF, MP4,
// ASF; anything else goes to the MPEG analyser, whose ID3 tags are read whether or not
// it finds a frame. The file is opened once.
#pragma once

#include <string>

#include "audio/AudioDescription.h"
#include "audio/AudioFileReader.h"
#include "audio/TagText.h"
#include "platform/Platform.h"

namespace plenvox {

// The description of an open file; false when a read failed (the description then
// holds what was found before). May throw.
bool DescribeAudio(Platform& os, AudioFileReader& file, const TTagTextDecoder& text,
                   TAudioDescription& description);

// Opens the file (its name in the encoding given) and describes it; a file that cannot
// be opened or read gives the empty description. read tells whether it could be read
// to the end of the description. Never throws.
TAudioDescription DescribeAudioFile(Platform& os, TTextEncoding encoding, const std::string& path,
                                    const TTagTextDecoder& text, bool* read = nullptr) noexcept;

// 8-bit tag texts through the platform's code page conversions: codePage 0 is the ANSI
// code page.
class TCodePageTagText : public TTagTextDecoder {
 public:
  TCodePageTagText(Platform& os, std::uint32_t codePage) : os_(os), codePage_(codePage) {}
  std::string EightBit(std::string_view bytes) const override;

 private:
  Platform& os_;
  std::uint32_t codePage_;
};

}  // namespace plenvox
