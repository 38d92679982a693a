#include "playlist/TempPlaylist.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "common/TextEncoding.h"
#include "playlist/IoError.h"

namespace plenvox {

namespace {

constexpr const char* kLineEnd = "\r\n";
// Lines are gathered and written in blocks, so that a long playlist costs a few writes
// rather than one per line.
constexpr std::size_t kWriteBlock = 64 * 1024;

// A playlist being written: created (or emptied) with its header line on construction.
// Closing it is part of writing it: Close() flushes and reports the outcome, while a
// writer dropped by a failure only releases its handle.
class PlaylistWriter {
 public:
  PlaylistWriter(Platform& os, TTextEncoding encoding, const std::string& path) : path_(path) {
    std::uint32_t error = 0;
    file_ = os.CreateWrite(encoding, path, error);
    if (!file_) throw IoError(error, "cannot create " + path);
    WriteLine(kTempPlaylistHeader);
  }

  void WriteLine(const std::string& line) {
    pending_ += line;
    pending_ += kLineEnd;
    if (pending_.size() >= kWriteBlock) Flush();
  }

  void Close() {
    Flush();
    auto file = std::move(file_);
    if (!file->Close()) throw IoError(file->Error(), "cannot close " + path_);
  }

 private:
  void Flush() {
    if (pending_.empty()) return;
    if (!file_->Write(pending_.data(), pending_.size())) {
      throw IoError(file_->Error(), "cannot write " + path_);
    }
    pending_.clear();
  }

  std::string path_;
  std::unique_ptr<File> file_;
  std::string pending_;
};

}  // namespace

TRemovalSet::TRemovalSet(const TDynamicArrayI& list) : sorted_(list.Items()) {
  std::sort(sorted_.begin(), sorted_.end());
}

bool TRemovalSet::Contains(std::int32_t number) const {
  return std::binary_search(sorted_.begin(), sorted_.end(), number);
}

TRemovalNames::TRemovalNames(const std::vector<std::string>& names, TTextEncoding encoding)
    : encoding_(encoding) {
  std::int32_t distinct = 0;
  for (const auto& name : names) {
    if (names_.Find(name) == -1) names_.Add(name, distinct++);
  }
  done_.assign(static_cast<std::size_t>(distinct), false);
}

bool TRemovalNames::Removes(std::int32_t, std::string_view pathLine) {
  // The name prefix lies inside the line as the line rules cut it: a whole line gives
  // the same name.
  const std::int32_t name = names_.Find(NamePrefix(encoding_, pathLine));
  if (name == -1 || done_[static_cast<std::size_t>(name)]) return false;
  done_[static_cast<std::size_t>(name)] = true;
  return true;
}

void WriteAdditions(Platform& os, TTextEncoding encoding, const std::string& path,
                    const TDynamicArray& paths, bool blockDead) {
  PlaylistWriter out(os, encoding, path);
  for (const auto& added : paths.Items()) {
    if (!blockDead || os.FileExists(encoding, added)) out.WriteLine(added);
  }
  out.Close();
}

namespace {

void RefuseLostCharacters(const Platform& os, const std::string& pathLine,
                          const PlaylistFile& playlist) {
  if (LostACharacter(os, playlist.Encoding(), pathLine)) {
    throw IoError(kErrorInvalidName, playlist.Path() + " names a file with a character it lost: " + pathLine);
  }
}

}  // namespace

void WriteFilteredCopy(Platform& os, const std::string& path, PlaylistFile& playlist,
                       TRemovals& removals) {
  PlaylistWriter out(os, playlist.Encoding(), path);
  playlist.Open();
  playlist.ReadLine();  // the header
  std::string info;
  std::string line;
  for (std::int32_t counter = 0; !playlist.Eof(); ++counter) {
    // Read whole, so that a kept line is not shortened; its first 255 characters are
    // what the line rules deliver, so the information-line test and the numbering are
    // those of FindEntry.
    playlist.ReadLineWhole(line);
    const bool infoLine = IsInfoLine(line);
    if (infoLine) {
      info.swap(line);
      playlist.ReadLineWhole(line);
    }
    if (removals.Removes(counter, line)) continue;
    if (infoLine) out.WriteLine(info);
    RefuseLostCharacters(os, line, playlist);
    out.WriteLine(line);
  }
  // The player's own playlist goes on behind a Ctrl-Z that ends the file for reading; a
  // copy without what follows it would lose those entries.
  if (playlist.StoppedBeforeEnd()) {
    throw IoError(kErrorHandleEof, playlist.Path() + " holds more behind an end-of-file mark");
  }
  out.Close();
}

}  // namespace plenvox
