#include "playlist/TextFile.h"

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
  if (got == 0) atEnd_ = true;
  return got > 0;
}

bool TextFileReader::Eof() {
  if (!Fill()) return true;
  if (buffer_[pos_] == kCtrlZ) {
    ctrlZ_ = true;
    end_ = pos_;
    return true;
  }
  return false;
}

template <typename Sink>
void TextFileReader::ReadLineInto(Sink&& sink) {
  while (!Eof()) {
    const char c = buffer_[pos_++];
    if (c == kLineFeed) return;
    if (c != kCarriageReturn) sink(c);
  }
}

std::string TextFileReader::ReadLine() {
  std::string line;
  ReadLineInto([&line](char c) {
    if (line.size() < kShortStringMax) line += c;
  });
  return line;
}

std::string TextFileReader::ReadLineWhole() {
  std::string line;
  ReadLineInto([&line](char c) { line += c; });
  return line;
}

void TextFileReader::Close() {
  if (!file_) return;
  auto file = std::move(file_);
  if (!file->Close()) throw IoError(file->Error(), "cannot close " + path_);
}

}  // namespace plenvox
