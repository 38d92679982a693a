// Fuzzes the playlist line reader, ReadEntry and FindEntry. The first input byte chooses
// how many bytes each platform read delivers (1 to 256, or whole reads for 0), so that
// short inputs still cross the reader's buffer edges; the rest is the playlist file.
// The entries read are checked against a direct model of the line rules, and FindEntry
// must give the first entry of each path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "MemoryPlatform.h"
#include "playlist/PlaylistFile.h"

namespace {

using plenvox::fuzz::Check;
using plenvox::fuzz::MemoryPlatform;

constexpr char kCtrlZ = 26;
constexpr std::size_t kLineMax = 255;

// The playlist file's entries under the line rules, read straight from the bytes.
class LineModel {
 public:
  explicit LineModel(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find(kCtrlZ))) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }

  std::string Line() {
    std::string line;
    while (!AtEnd()) {
      const char c = bytes_[pos_++];
      if (c == '\n') break;
      if (c != '\r' && line.size() < kLineMax) line += c;
    }
    return line;
  }

  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    Line();  // the header
    while (!AtEnd()) {
      std::string path = Line();
      if (path.compare(0, 8, "#EXTINF:") == 0) path = Line();
      entries.push_back(path);
    }
    return entries;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

std::vector<std::string> ReadAllEntries(plenvox::PlaylistFile& file) {
  std::vector<std::string> entries;
  file.Open();
  file.ReadLine();
  while (!file.Eof()) entries.push_back(plenvox::ReadEntry(file));
  // At the end a further read is no failure and gives an empty path.
  Check(plenvox::ReadEntry(file).empty(), "reading past the end gives an empty path");
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t chunk = data[0];
  const std::string_view content = plenvox::fuzz::AsText(data + 1, size - 1);
  MemoryPlatform os(content, chunk);
  plenvox::PlaylistFile file(os);
  file.Bind(MemoryPlatform::FileName());

  const std::vector<std::string> expected = LineModel(content).Entries();
  Check(ReadAllEntries(file) == expected, "the entries follow the line rules");

  // Every distinct path is found at its first entry (a few of them, to keep runs fast).
  for (std::size_t i = 0; i < expected.size() && i < 16; ++i) {
    std::size_t first = 0;
    while (expected[first] != expected[i]) ++first;
    Check(plenvox::FindEntry(file, expected[i]) == static_cast<std::int32_t>(first),
          "FindEntry gives the first entry of a path");
  }
  Check(plenvox::FindEntry(file, std::string(kLineMax + 1, 'x')) == -1,
        "no entry is longer than 255 characters");
  file.Close();
  return 0;
}
