#include "playlist/TextFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/Text.h"
#include "playlist/IoError.h"

namespace plenvox {

namespace {
constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kCtrlZ = 26;
}  // namespace

TextFileReader::TextFileReader(Platform& os, TTextEncoding encoding, const std::string& path)
    : path_(path), buffer_(kTextReadBlock) {
  std::uint32_t error = 0;
  file_ = os.OpenRead(encoding, path, error);
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

// The first line feed or carriage return in [begin, end), or end: one pass for both, eight
// bytes at a time (a byte of a word equals c where the word XOR c has a zero byte).
const char* FindLineBreak(const char* begin, const char* end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  constexpr std::uint64_t kLineFeeds = kOnes * static_cast<unsigned char>(kLineFeed);
  constexpr std::uint64_t kCarriageReturns = kOnes * static_cast<unsigned char>(kCarriageReturn);
  const char* at = begin;
  for (; end - at >= 8; at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    const std::uint64_t lf = word ^ kLineFeeds;
    const std::uint64_t cr = word ^ kCarriageReturns;
    if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighBits) break;
  }
  while (at != end && *at != kLineFeed && *at != kCarriageReturn) ++at;
  return at;
}

}  // namespace

// Takes the line a buffer at a time, up to its line feed, and hands it to sink in
// pieces, leaving out every carriage return (usually the one in front of the line feed,
// when there is any). The buffer ends at a Ctrl-Z (see Fill), so a line that runs into
// one ends the file there.
template <typename Sink>
void TextFileReader::ReadLineInto(Sink&& sink) {
  while (Fill()) {
    const char* data = buffer_.data();
    const char* begin = data + pos_;
    const char* end = data + end_;
    const char* stop = FindLineBreak(begin, end);
    while (stop != end && *stop == kCarriageReturn) {
      if (stop != begin) sink(begin, static_cast<std::size_t>(stop - begin));
      begin = stop + 1;
      stop = FindLineBreak(begin, end);
    }
    if (stop != begin) sink(begin, static_cast<std::size_t>(stop - begin));
    pos_ = static_cast<std::size_t>(stop - data);
    if (stop != end) {
      ++pos_;  // the line feed
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
