#include "audio/AudioFileReader.h"

#include <algorithm>

#include "audio/ReadFully.h"

namespace plenvox {

bool AudioFileReader::Window::Covers(std::int64_t offset, std::size_t count) const {
  const std::int64_t end = Offset + static_cast<std::int64_t>(Bytes.size());
  return !Bytes.empty() && Offset <= offset && offset + static_cast<std::int64_t>(count) <= end;
}

bool AudioFileReader::Fetch(std::int64_t offset, std::size_t need, ByteSpan& bytes) {
  bytes = {};
  if (offset < 0) return false;
  if (offset >= length_) return true;
  const auto left = static_cast<std::uint64_t>(length_ - offset);
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(need, left));
  for (const Window& window : windows_) {
    if (window.Covers(offset, count)) {
      bytes = ByteSpan(window.Bytes).Sub(static_cast<std::size_t>(offset - window.Offset));
      return true;
    }
  }
  const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(std::max(need, kChunk), left));
  Window& window = SlotFor(offset, size);
  if (!Read(offset, size, window)) return false;
  bytes = ByteSpan(window.Bytes);
  return true;
}

bool AudioFileReader::FetchEnd(std::size_t count, ByteSpan& bytes) {
  const std::int64_t offset = std::max<std::int64_t>(0, length_ - static_cast<std::int64_t>(count));
  return Fetch(offset, count, bytes);
}

// A read that fails leaves its window empty, so that nothing of it is served later.
bool AudioFileReader::Read(std::int64_t offset, std::size_t count, Window& window) {
  window.Offset = offset;
  window.Bytes.resize(count);
  std::size_t got = 0;
  const bool read = file_.Seek(offset) && ReadUpTo(file_, window.Bytes.data(), count, got);
  window.Bytes.resize(read ? got : 0);
  return read;
}

AudioFileReader::Window& AudioFileReader::SlotFor(std::int64_t offset, std::size_t count) {
  if (offset == 0) return windows_[kStart];
  if (offset + static_cast<std::int64_t>(count) == length_) return windows_[kEnd];
  return windows_[kOther];
}

}  // namespace plenvox
