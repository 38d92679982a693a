// Fuzzes the ID3v2 tag reader with the input as the whole file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "MemoryPlatform.h"
#include "audio/ID3v2.h"

using plenvox::fuzz::Check;

namespace {

// Frames are read 500 bytes at most; a UTF-16 text of 249 units takes at most three
// bytes a unit in the POSIX platform's UTF-8.
constexpr std::size_t kLongestText = 249 * 3;

bool Trimmed(const std::string& text) {
  return text.empty() || (static_cast<unsigned char>(text.front()) > 0x20 &&
                          static_cast<unsigned char>(text.back()) > 0x20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto content = plenvox::fuzz::AsText(data, size);
  plenvox::fuzz::MemoryPlatform os(content);
  plenvox::TID3v2 tag(os);
  const bool loaded = tag.LoadFromFile(plenvox::fuzz::MemoryPlatform::FileName());

  Check(loaded == (size >= 10), "loads exactly the files of at least 10 bytes");
  Check(tag.Present() == (loaded && content.substr(0, 3) == "ID3"),
        "present exactly when the file begins with ID3");
  Check(tag.TagSize() >= 0 && static_cast<std::size_t>(tag.TagSize()) <= size,
        "the tag lies inside the file");
  Check(tag.Present() || (tag.TagSize() == 0 && tag.TagVersion() == 0), "cleared without a tag");

  // Year keeps the first 4 bytes of a longer text and Genre loses a parenthesised
  // prefix, so either may end or begin in a blank; every other text is trimmed.
  const std::string* trimmedTexts[] = {&tag.Title(),   &tag.Artist(),    &tag.Album(),
                                       &tag.TrackText(), &tag.Comment(),  &tag.Composer(),
                                       &tag.EncodedBy(), &tag.Copyright(), &tag.Language(),
                                       &tag.UrlLink()};
  for (const std::string* text : trimmedTexts) {
    Check(Trimmed(*text), "texts trimmed of bytes 0x00 to 0x20");
    Check(text->size() <= kLongestText, "texts no longer than one frame buffer gives");
  }
  Check(tag.Year().size() <= kLongestText && tag.Genre().size() <= kLongestText,
        "texts no longer than one frame buffer gives");
  return 0;
}
