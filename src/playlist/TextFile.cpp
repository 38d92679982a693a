#include "playlist/TextFile.h"

#include <algorithm>
#include <cstring>

#include "common/Text.h"
#include "playlist/IoError.h"

namespace plenvox {

namespace {
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kCtrlZ = 26;
}  // namespace

TextFileReader::TextFileReader(Platform& os, const std::string& path)
    : path_(path), buffer_(kTextReadBlock) {
  std::uint32_t error = 0;
  file_ = os.OpenRead(path, error);
  if (!file_) throw IoError(error, "cannot open " + path);
}

bool TextFileReader::Fill() {
  if (pos_ < end_) return true;
  if (atEnd_ || ctrlZ_ || !file_) return false;
  std::size_t got = 0;
  if (!file_->Read(buffer_.data(), buffer_.size(), got)) {
    throw IoError(file_->Error(), "cannot read " + path_);
  }
  pos_ = 0;
  end_ = got;
  // A Ctrl-Z ends the file: the buffer ends there.
  const void* ctrlZ = std::memchr(buffer_.data(), kCtrlZ, got);
  if (ctrlZ) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - buffer_.data());
    ctrlZ_ = true;
    bytesAfterCtrlZ_ = end_ + 1 < got;
  }
  if (got == 0) atEnd_ = true;
  return end_ > 0;
}

bool TextFileReader::StoppedBeforeEnd() {
  if (!ctrlZ_) return false;
  if (bytesAfterCtrlZ_) return true;
  if (atEnd_ || !file_) return false;
  char next = 0;
  std::size_t got = 0;
  if (!file_->Read(&next, 1, got)) throw IoError(file_->Error(), "cannot read " + path_);
  return got > 0;
}

namespace {

const char* Find(const char* begin, const char* end, char c) {
  const void* found = std::memchr(begin, c, static_cast<std::size_t>(end - begin));
  return found ? static_cast<const char*>(found) : end;
}

// Hands the bytes of [begin, end) to sink in pieces, leaving out every carriage return
// (usually the one in front of the line feed, when there is any).
template <typename Sink>
void DeliverWithoutCarriageReturns(const char* begin, const char* end, Sink& sink) {
  while (begin != end) {
    const char* cr = Find(begin, end, kCarriageReturn);
    if (cr != begin) sink(begin, static_cast<std::size_t>(cr - begin));
    begin = cr == end ? end : cr + 1;
  }
}

}  // namespace

// Takes the line a buffer at a time, up to its line feed. The buffer ends at a Ctrl-Z
// (see Fill), so a line that runs into one ends the file there.
template <typename Sink>
void TextFileReader::ReadLineInto(Sink&& sink) {
  while (Fill()) {
    const char* data = buffer_.data();
    const char* begin = data + pos_;
    const char* end = data + end_;
    const char* lineFeed = Find(begin, end, kLineFeed);
    DeliverWithoutCarriageReturns(begin, lineFeed, sink);
    pos_ = static_cast<std::size_t>(lineFeed - data);
    if (lineFeed != end) {
      ++pos_;
      return;
    }
  }
}

void TextFileReader::ReadLine(std::string& line, std::size_t maxBytes) {
  line.clear();
  ReadLineInto([&line, maxBytes](const char* bytes, std::size_t size) {
    line.append(bytes, std::min(size, maxBytes - line.size()));
  });
}

void TextFileReader::ReadLineWhole(std::string& line) {
  line.clear();
  ReadLineInto([&line](const char* bytes, std::size_t size) { line.append(bytes, size); });
}

std::string TextFileReader::ReadLine() {
  std::string line;
  ReadLine(line);
  return line;
}

std::string TextFileReader::ReadLineWhole() {
  std::string line;
  ReadLineWhole(line);
  return line;
}

void TextFileReader::Close() {
  if (!file_) return;
  auto file = std::move(file_);
  if (!file->Close()) throw IoError(file->Error(), "cannot close " + path_);
}

}  // namespace plenvox
