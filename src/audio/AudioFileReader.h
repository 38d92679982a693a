// One open file as the audio readers see it: its length, taken once, and its bytes,
// brought in by few large reads that all readers of one analysis share. A fetch that an
// earlier read covers costs nothing; any other costs one positioning and one read of a
// bounded chunk, so that no size read from the file decides how much is read or held.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "audio/ByteSpan.h"
#include "platform/Platform.h"

namespace plenvox {

class AudioFileReader {
 public:
  // What a read takes at least (less only where the file ends): at the file's start the
  // ID3v2 header, a tag of common size and the first audio block behind it; inside a
  // longer tag the next stretch of its frames.
  static constexpr std::size_t kChunk = 8192;

  explicit AudioFileReader(File& file) : file_(file) {}

  // Takes the file's length; false when the platform cannot tell it.
  bool Measure() { return file_.Size(length_); }
  std::int64_t Length() const { return length_; }

  // The file's bytes from offset on, at least need of them where the file holds that
  // many, else all up to its end (none from the end on). When no kept read covers them,
  // reads max(need, kChunk) bytes there, never beyond the file's end. False when offset
  // is negative or the positioning or the read fails. The span stays valid until the
  // next fetch.
  bool Fetch(std::int64_t offset, std::size_t need, ByteSpan& bytes);
  // The last count bytes of the file, or all of it when it is shorter.
  bool FetchEnd(std::size_t count, ByteSpan& bytes);

 private:
  // The bytes of one read and where they came from.
  struct Window {
    std::int64_t Offset = 0;
    std::vector<std::uint8_t> Bytes;
    bool Covers(std::int64_t offset, std::size_t count) const;
  };
  // The reads kept: the file's start, the latest that reached its end, the latest other.
  enum Slot : std::size_t { kStart, kEnd, kOther, kSlots };

  bool Read(std::int64_t offset, std::size_t count, Window& window);
  Window& SlotFor(std::int64_t offset, std::size_t count);

  File& file_;
  std::int64_t length_ = 0;
  std::array<Window, kSlots> windows_;
};

// Opens path (in the encoding given) for reading only (other programs may go on reading
// and writing it), takes its length and hands it to read, then closes it; closed tells
// whether the close succeeded. The result is read's, or false when the open or the
// length fails.
template <typename Read>
bool ReadOpenFile(Platform& os, TTextEncoding encoding, const std::string& path, Read&& read,
                  bool& closed) {
  closed = false;
  std::uint32_t error = 0;
  const auto file = os.OpenRead(encoding, path, error);
  if (!file) return false;
  AudioFileReader reader(*file);
  const bool result = reader.Measure() && read(reader);
  closed = file->Close();
  return result;
}

// The same in the encoding in force.
template <typename Read>
bool ReadOpenFile(Platform& os, const std::string& path, Read&& read, bool& closed) {
  return ReadOpenFile(os, os.TextEncoding(), path, std::forward<Read>(read), closed);
}

}  // namespace plenvox
