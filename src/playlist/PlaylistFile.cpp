#include "playlist/PlaylistFile.h"

#include "playlist/IoError.h"

namespace plenvox {

bool IsInfoLine(const std::string& line) { return line.compare(0, 8, kInfoLinePrefix) == 0; }

void PlaylistFile::Bind(const std::string& path) {
  if (IsOpen()) Close();
  path_ = path;
}

void PlaylistFile::Open() {
  if (IsOpen()) Close();
  if (!path_) throw IoError(kErrorFileNotFound, "the playlist file is not bound to a path");
  reader_ = std::make_unique<TextFileReader>(os_, *path_);
}

void PlaylistFile::Close() {
  if (!reader_) return;
  auto reader = std::move(reader_);
  reader->Close();
}

const std::string& PlaylistFile::Path() const {
  static const std::string kNone;
  return path_ ? *path_ : kNone;
}

TextFileReader& PlaylistFile::Reader() {
  if (!reader_) throw IoError(kErrorAccessDenied, "the playlist file is not open");
  return *reader_;
}

std::string PlaylistFile::ReadLine() { return Reader().ReadLine(); }
std::string PlaylistFile::ReadLineWhole() { return Reader().ReadLineWhole(); }
bool PlaylistFile::Eof() { return Reader().Eof(); }

std::string ReadEntry(PlaylistFile& file) {
  std::string line = file.ReadLine();
  if (IsInfoLine(line)) line = file.ReadLine();
  return line;
}

TEntryNumbers NumberEntries(PlaylistFile& file) {
  file.Open();
  file.ReadLine();  // the header
  TEntryNumbers numbers;
  for (std::int32_t counter = 0; !file.Eof(); ++counter) numbers.emplace(ReadEntry(file), counter);
  return numbers;
}

std::int32_t FindEntry(PlaylistFile& file, const std::string& name) {
  file.Open();
  file.ReadLine();  // the header
  std::int32_t counter = -1;
  while (!file.Eof()) {
    ++counter;
    if (ReadEntry(file) == name) return counter;
  }
  return -1;
}

}  // namespace plenvox
