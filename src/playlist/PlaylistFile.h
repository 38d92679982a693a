// The playlist file: the player's playlist as it last wrote it, and the one text-file
// handle through which the plug-in reads it.
//
// Line 1 is a header, skipped unread. After it every entry is either an information
// line ("#EXTINF:...") with the path on the next line, or a single line that is the
// path itself (empty lines and other comments included). Entries are numbered from 0
// in file order; these are the numbers the player takes as playlist positions.
//
// The file is read in the encoding that it is bound with: an ANSI playlist's lines are
// short strings (255 bytes), a UTF-8 playlist's lines stay whole up to kUtf8LineMax;
// names are matched by the name rule of the encoding (CutName).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextEncoding.h"
#include "platform/Platform.h"
#include "playlist/TextFile.h"

namespace plenvox {

constexpr std::string_view kInfoLinePrefix = "#EXTINF:";

// True when the line's first 8 characters are exactly "#EXTINF:".
bool IsInfoLine(const std::string& line);

// True when the path line holds a "?" where a file's path cannot: anywhere but in the
// "\\?\" prefix of a long path, in a line that is neither a comment ("#...") nor an
// address ("scheme://...").
bool HoldsLostCharacter(std::string_view pathLine);
// True when a path line of a playlist in the encoding names a character that the player
// could not write: only an ANSI playlist in a code page that lacks characters loses any,
// and marks each with "?" (HoldsLostCharacter). Such a line names no file; looked up as
// written, its "?" would match another file's name.
bool LostACharacter(const Platform& os, TTextEncoding encoding, std::string_view pathLine);

// A text-file handle with three states: not bound, bound to a path and closed, open.
class PlaylistFile {
 public:
  explicit PlaylistFile(Platform& os) : os_(os) {}

  // Sets the path and the encoding, closing the file first when it is open.
  void Bind(const std::string& path, TTextEncoding encoding = TTextEncoding::Ansi);
  // Opens from the first line, closing first when open, the path in the bound encoding
  // (on any thread). Throws IoError when the file is not bound or cannot be opened.
  void Open();
  // Closes when open; the binding stays. Throws IoError when the close fails.
  void Close();

  bool IsBound() const { return path_.has_value(); }
  bool IsOpen() const { return reader_ != nullptr; }
  const std::string& Path() const;
  TTextEncoding Encoding() const { return encoding_; }

  // Line reading while open (see TextFileReader), ReadLine by the line rule of the
  // encoding; throws IoError on a read failure.
  std::string ReadLine();
  void ReadLine(std::string& line) {
    if (encoding_ == TTextEncoding::Ansi) {
      Reader().ReadLine(line);
    } else {
      ReadUtf8Line(line);
    }
  }
  std::string ReadLineWhole();
  void ReadLineWhole(std::string& line) { Reader().ReadLineWhole(line); }
  bool Eof() { return Reader().Eof(); }
  bool StoppedBeforeEnd() { return Reader().StoppedBeforeEnd(); }

 private:
  TextFileReader& Reader() {
    if (!reader_) NotOpen();
    return *reader_;
  }
  [[noreturn]] static void NotOpen();
  void ReadUtf8Line(std::string& line);

  Platform& os_;
  std::optional<std::string> path_;
  TTextEncoding encoding_ = TTextEncoding::Ansi;
  std::unique_ptr<TextFileReader> reader_;
};

// The path of the next entry, by the line rule: reads one line, and the next one too
// when the first is an information line. At the end of the file: an empty path.
std::string ReadEntry(PlaylistFile& file);
// The same into path, whose room is kept for the next entries.
void ReadEntry(PlaylistFile& file, std::string& path);
// The same, with the entry's information line (empty when it has none) into info.
void ReadEntry(PlaylistFile& file, std::string& path, std::string& info);

// The number of the first entry whose path, cut by the name rule of the file's encoding,
// equals name byte for byte, or -1. Reads the bound file from its start and leaves it
// open.
std::int32_t FindEntry(PlaylistFile& file, const std::string& name);

// The first entry named name (as FindEntry matches it): its number and its whole path as
// the line rule reads it, with the number of entries that the file holds; number -1 and
// an empty path when no entry is named so. Reads the bound file from its start to its end
// and leaves it open.
struct TEntryMatch {
  std::int32_t Number = -1;
  std::string Path;
  std::int32_t Count = 0;
};
TEntryMatch MatchEntry(PlaylistFile& file, const std::string& name);

// For many lookups in the same file: the number of the first entry of every path (as
// ReadEntry gives it, cut by the name rule of the file's encoding), as FindEntry would
// find it, in one reading of the bound file from its start. Leaves it open.
class TEntryNumbers {
 public:
  // Keeps the first number given for a path.
  void Add(std::string_view path, std::int32_t number);
  // The number of the path, or -1.
  std::int32_t Find(std::string_view path) const;

 private:
  // The paths are kept in large blocks, and the numbers in one open-addressed table,
  // rather than in an allocation each: numbering a playlist of ten thousand entries
  // costs little more than reading it.
  struct Slot {
    std::string_view Path;
    std::size_t Hash = 0;
    std::int32_t Number = -1;  // -1: a free slot
  };
  std::string_view Keep(std::string_view path);
  std::size_t SlotOf(std::string_view path, std::size_t hash) const;
  void Grow();

  static constexpr std::size_t kBlockSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockUsed_ = kBlockSize;
  std::vector<Slot> slots_ = std::vector<Slot>(1024);
  std::size_t used_ = 0;
};
TEntryNumbers NumberEntries(PlaylistFile& file);

}  // namespace plenvox
