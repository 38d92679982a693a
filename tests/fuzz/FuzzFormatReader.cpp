// Fuzzes one format's reader through the description of a file: the input, behind the
// first bytes that name the format (PLENVOX_FUZZ_MAGIC, set per target), as the whole
// file. Every reader is bounds-checked: whatever the sizes in the input say, nothing is
// read outside it (the sanitizers watch), and the description keeps its invariants.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "MemoryPlatform.h"
#include "audio/DescribeAudio.h"
#include "common/Utf8.h"

using plenvox::fuzz::Check;

namespace {

bool ValidUtf8(const std::string& text) {
  return plenvox::Utf16ToUtf8(plenvox::Utf8ToUtf16(text)) == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string magic(PLENVOX_FUZZ_MAGIC, sizeof(PLENVOX_FUZZ_MAGIC) - 1);
  const std::string file = magic + std::string(plenvox::fuzz::AsText(data, size));
  // Reads of at most 700 bytes reach the readers' buffer edges with little input.
  plenvox::fuzz::MemoryPlatform os(file, size % 2 ? 700 : 0);
  const plenvox::TLatin1TagText text;
  bool read = false;
  const plenvox::TAudioDescription d = plenvox::DescribeAudioFile(
      os, os.TextEncoding(), plenvox::fuzz::MemoryPlatform::FileName(), text, &read);

  Check(std::isfinite(d.PlayTime) && d.PlayTime >= 0, "the play time is a number, not negative");
  Check(!d.Format.empty() || (d.PlayTime == 0 && d.SampleRate == 0 && d.Channels == 0),
        "no audio properties without a format");
  const plenvox::TTagsUtf8& t = d.Tags;
  for (const std::string* field : {&t.Title, &t.Artist, &t.Album, &t.AlbumArtist, &t.Year,
                                   &t.Genre, &t.Comment, &t.Composer}) {
    Check(ValidUtf8(*field), "tag texts are valid UTF-8");
  }
  if (d.HasPicture && d.Picture.Size > 0) {
    Check(d.Picture.Offset >= 0 && d.Picture.Offset <= static_cast<std::int64_t>(file.size()),
          "a picture starts inside the file");
  }
  // The same file again gives the same description.
  const plenvox::TAudioDescription again = plenvox::DescribeAudioFile(
      os, os.TextEncoding(), plenvox::fuzz::MemoryPlatform::FileName(), text);
  Check(again.Format == d.Format && again.PlayTime == d.PlayTime && again.Tags.Title == t.Title,
        "a second description of the same file is the same");
  return 0;
}
