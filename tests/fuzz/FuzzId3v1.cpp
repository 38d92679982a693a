// Fuzzes the ID3v1 tag reader with the input as the whole file.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "MemoryPlatform.h"
#include "audio/ID3v1.h"

using plenvox::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto content = plenvox::fuzz::AsText(data, size);
  plenvox::fuzz::MemoryPlatform os(content);
  plenvox::TID3v1 tag(os);
  const bool loaded = tag.LoadFromFile(plenvox::fuzz::MemoryPlatform::FileName());

  constexpr std::size_t kTag = plenvox::TID3v1::kTagSize;
  Check(loaded == (size >= kTag), "loads exactly the files of at least 128 bytes");
  Check(tag.Present() == (loaded && content.substr(size - kTag, 3) == "TAG"),
        "present exactly when the last 128 bytes begin with TAG");
  Check(tag.TagVersion() == 1 || (tag.Present() && tag.TagVersion() == 2), "version 1.0 or 1.1");
  Check(tag.Title().size() <= 30 && tag.Artist().size() <= 30 && tag.Album().size() <= 30 &&
            tag.Year().size() <= 4,
        "fields within their widths");
  Check(tag.Comment().size() <= (tag.TagVersion() == 2 ? 28u : 30u), "comment within its width");
  Check(tag.TagVersion() == 2 || tag.Track() == 0, "a track number only in version 1.1");
  if (!tag.Present()) {
    Check(tag.Title().empty() && tag.Comment().empty() && tag.GenreNumber() == 255,
          "cleared without a tag");
  }
  return 0;
}
