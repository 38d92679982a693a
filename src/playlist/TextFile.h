// Line-by-line reading of playlist files.
//
// A line ends at a line feed. Carriage returns never belong to a line: one in front of
// a line feed is part of the line end, a lone one is dropped without ending the line.
// A Ctrl-Z (26) ends the file. Lines are delivered as their first bytes up to a limit
// (255 for the short strings of ANSI playlists); the rest of a longer line is read past,
// so the next read starts at the following line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Text.h"
#include "platform/Platform.h"

namespace plenvox {

// The reader takes the file in reads of this many bytes.
constexpr std::size_t kTextReadBlock = 64 * 1024;

class TextFileReader {
 public:
  // Opens path (in the encoding given) for reading from its first line; throws IoError
  // when it cannot.
  TextFileReader(Platform& os, TTextEncoding encoding, const std::string& path);

  // The next line cut to 255 characters; an empty text at the end of the file.
  std::string ReadLine();
  // The same into line, whose room is kept for the next lines, cut to maxBytes bytes.
  void ReadLine(std::string& line, std::size_t maxBytes = kShortStringMax);
  // The next line whole, whatever its length, for writers that must not shorten what
  // they copy. Its first bytes are what ReadLine would have delivered.
  std::string ReadLineWhole();
  void ReadLineWhole(std::string& line);
  // True when no character is left before the end of the file or a Ctrl-Z.
  bool Eof() { return pos_ >= end_ && !Fill(); }
  // True when a Ctrl-Z ended the reading while the file holds further bytes behind it:
  // a copy of what was read would then not be the whole file.
  bool StoppedBeforeEnd();
  // Closes the file; throws IoError when the close fails.
  void Close();

 private:
  // Delivers the next line's characters to sink(bytes, size), in pieces; stops after the
  // line feed.
  template <typename Sink>
  void ReadLineInto(Sink&& sink);
  // True when characters are left in the buffer, reading the next block when it is used up.
  bool Fill();

  std::unique_ptr<File> file_;
  std::string path_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;  // the file has no bytes left beyond the buffer
  bool ctrlZ_ = false;  // a Ctrl-Z was met: nothing more is read
  bool bytesAfterCtrlZ_ = false;  // the buffer held more behind the Ctrl-Z
};

}  // namespace plenvox
