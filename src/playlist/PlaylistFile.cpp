#include "playlist/PlaylistFile.h"

#include <algorithm>
#include <cstring>

#include "common/Text.h"
#include "common/Utf8.h"
#include "playlist/IoError.h"

namespace plenvox {

bool IsInfoLine(const std::string& line) {
  return line.size() >= kInfoLinePrefix.size() &&
         std::memcmp(line.data(), kInfoLinePrefix.data(), kInfoLinePrefix.size()) == 0;
}

bool HoldsLostCharacter(std::string_view pathLine) {
  constexpr std::string_view kLongPathPrefix = "\\\\?\\";
  if (pathLine.empty() || pathLine.front() == '#' ||
      pathLine.find("://") != std::string_view::npos) {
    return false;
  }
  const std::size_t from = pathLine.substr(0, kLongPathPrefix.size()) == kLongPathPrefix
                               ? kLongPathPrefix.size()
                               : 0;
  return pathLine.find('?', from) != std::string_view::npos;
}

bool LostACharacter(const Platform& os, TTextEncoding encoding, std::string_view pathLine) {
  return encoding == TTextEncoding::Ansi && !os.AnsiHoldsEveryCharacter() &&
         HoldsLostCharacter(pathLine);
}

void PlaylistFile::Bind(const std::string& path, TTextEncoding encoding) {
  if (IsOpen()) Close();
  path_ = path;
  encoding_ = encoding;
}

void PlaylistFile::Open() {
  if (IsOpen()) Close();
  if (!path_) throw IoError(kErrorFileNotFound, "the playlist file is not bound to a path");
  reader_ = std::make_unique<TextFileReader>(os_, encoding_, *path_);
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

void PlaylistFile::NotOpen() { throw IoError(kErrorAccessDenied, "the playlist file is not open"); }

void PlaylistFile::ReadUtf8Line(std::string& line) {
  // One byte more than the rule keeps tells whether the cut splits a character.
  Reader().ReadLine(line, kUtf8LineMax + 1);
  line.resize(Utf8PrefixOfBytes(line, kUtf8LineMax).size());
}

std::string PlaylistFile::ReadLine() {
  std::string line;
  ReadLine(line);
  return line;
}

std::string PlaylistFile::ReadLineWhole() { return Reader().ReadLineWhole(); }

void ReadEntry(PlaylistFile& file, std::string& path) {
  file.ReadLine(path);
  if (IsInfoLine(path)) file.ReadLine(path);
}

void ReadEntry(PlaylistFile& file, std::string& path, std::string& info) {
  file.ReadLine(info);
  if (IsInfoLine(info)) {
    file.ReadLine(path);
  } else {
    path.swap(info);
    info.clear();
  }
}

std::string ReadEntry(PlaylistFile& file) {
  std::string path;
  ReadEntry(file, path);
  return path;
}

std::string_view TEntryNumbers::Keep(std::string_view path) {
  // An empty path, the first kept, also needs a block to point into.
  if (path.size() > kBlockSize - blockUsed_ || blocks_.empty()) {
    blocks_.push_back(std::make_unique<char[]>(std::max(kBlockSize, path.size())));
    blockUsed_ = 0;
  }
  char* kept = blocks_.back().get() + blockUsed_;
  path.copy(kept, path.size());
  blockUsed_ += path.size();
  return {kept, path.size()};
}

// The slot that holds path, or the free slot where it belongs (the table is never full).
std::size_t TEntryNumbers::SlotOf(std::string_view path, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  while (slots_[at].Number != -1 && (slots_[at].Hash != hash || slots_[at].Path != path)) {
    at = (at + 1) & mask;
  }
  return at;
}

void TEntryNumbers::Grow() {
  std::vector<Slot> old(slots_.size() * 2);
  old.swap(slots_);
  for (const Slot& slot : old) {
    if (slot.Number != -1) slots_[SlotOf(slot.Path, slot.Hash)] = slot;
  }
}

void TEntryNumbers::Add(std::string_view path, std::int32_t number) {
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const std::size_t hash = std::hash<std::string_view>()(path);
  const std::size_t at = SlotOf(path, hash);
  if (slots_[at].Number != -1) return;  // the first number of a path stays
  slots_[at] = Slot{Keep(path), hash, number};
  ++used_;
}

std::int32_t TEntryNumbers::Find(std::string_view path) const {
  return slots_[SlotOf(path, std::hash<std::string_view>()(path))].Number;
}

namespace {

// The form in which an entry's path is matched: the path itself in an ANSI playlist
// (whose lines are names already), the name that the host's record shows of it in a
// UTF-8 one.
std::string_view NameOf(TTextEncoding encoding, const std::string& path, std::string& cut) {
  if (encoding == TTextEncoding::Ansi) return path;
  cut = CutName(encoding, path);
  return cut;
}

}  // namespace

TEntryNumbers NumberEntries(PlaylistFile& file) {
  file.Open();
  file.ReadLine();  // the header
  TEntryNumbers numbers;
  std::string path;
  std::string cut;
  for (std::int32_t counter = 0; !file.Eof(); ++counter) {
    ReadEntry(file, path);
    numbers.Add(NameOf(file.Encoding(), path, cut), counter);
  }
  return numbers;
}

namespace {

// Cutting only shortens: a path that is not longer than the name cannot match once cut.
bool SameName(TTextEncoding encoding, const std::string& path, const std::string& name) {
  if (path == name) return true;
  return encoding == TTextEncoding::Utf8 && path.size() > name.size() &&
         CutName(encoding, path) == name;
}

}  // namespace

std::int32_t FindEntry(PlaylistFile& file, const std::string& name) {
  file.Open();
  file.ReadLine();  // the header
  std::string path;
  for (std::int32_t counter = 0; !file.Eof(); ++counter) {
    ReadEntry(file, path);
    if (SameName(file.Encoding(), path, name)) return counter;
  }
  return -1;
}

TEntryMatch MatchEntry(PlaylistFile& file, const std::string& name) {
  file.Open();
  file.ReadLine();  // the header
  TEntryMatch match;
  std::string path;
  for (; !file.Eof(); ++match.Count) {
    ReadEntry(file, path);
    if (match.Number == -1 && SameName(file.Encoding(), path, name)) {
      match.Number = match.Count;
      match.Path = path;
    }
  }
  return match;
}

}  // namespace plenvox
