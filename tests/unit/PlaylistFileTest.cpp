#include "playlist/PlaylistFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "playlist/IoError.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using test::FakePlatform;
using test::TempDir;
using Lines = std::vector<std::string>;

class PlaylistFileTest : public ::testing::Test {
 protected:
  // Binds the playlist file to a file holding bytes.
  PlaylistFile& Playlist(const std::string& bytes) {
    test::WriteFile(path, bytes);
    file.Bind(path);
    return file;
  }
  // Every line as the reader delivers it, up to the end-of-file test.
  std::vector<std::string> LinesOf(const std::string& bytes) {
    Playlist(bytes).Open();
    std::vector<std::string> lines;
    while (!file.Eof()) lines.push_back(file.ReadLine());
    return lines;
  }
  FakePlatform os;
  TempDir dir;
  std::string path = dir / "winamp.m3u";
  PlaylistFile file{os};
};

TEST_F(PlaylistFileTest, LineRules) {
  const struct {
    const char* name;
    std::string bytes;
    Lines expected;
  } cases[] = {
      {"lf", "a\nb\n", {"a", "b"}},
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"no final line end", "a\nb", {"a", "b"}},
      {"lone cr joins", "a\rb\nc", {"ab", "c"}},
      {"cr cr lf", "a\r\r\nb", {"a", "b"}},
      {"empty lines", "\n\nx\n", {"", "", "x"}},
      {"ctrl-z ends the file", "a\nb\x1A" "c\nd\n", {"a", "b"}},
      {"ctrl-z at a line start", "a\n\x1A" "b\n", {"a"}},
      {"empty file", "", {}},
      {"zero bytes are text", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LinesOf(c.bytes), c.expected) << c.name;
  }
}

TEST_F(PlaylistFileTest, LongLinesAreDeliveredAsTheirFirst255Characters) {
  const std::string longLine = std::string(255, 'a') + std::string(45, 'b');
  EXPECT_EQ(LinesOf(longLine + "\nnext\n"), (Lines{std::string(255, 'a'), "next"}));
  // A line of 100,000 characters across several buffer fills.
  const std::string huge(100000, 'h');
  EXPECT_EQ(LinesOf("#EXTM3U\n" + huge + "\r\nz"), (Lines{"#EXTM3U", std::string(255, 'h'), "z"}));
  Playlist(huge + "\n").Open();
  EXPECT_EQ(file.ReadLineWhole(), huge);
}

TEST_F(PlaylistFileTest, ReadingAtTheEndGivesEmptyLinesWithoutFailure) {
  Playlist("#EXTM3U\n").Open();
  EXPECT_EQ(file.ReadLine(), "#EXTM3U");
  EXPECT_TRUE(file.Eof());
  EXPECT_EQ(ReadEntry(file), "");
  EXPECT_EQ(file.ReadLine(), "");
}

TEST_F(PlaylistFileTest, ReadEntrySkipsInformationLines) {
  Playlist("#EXTM3U\n#EXTINF:12,Title\nA\nB\n#EXTINF:\n").Open();
  file.ReadLine();
  EXPECT_EQ(ReadEntry(file), "A");
  EXPECT_EQ(ReadEntry(file), "B");
  // An information line that ends the file forms an entry with an empty path.
  EXPECT_FALSE(file.Eof());
  EXPECT_EQ(ReadEntry(file), "");
  EXPECT_TRUE(file.Eof());
}

TEST_F(PlaylistFileTest, FindEntryNumbersEntries) {
  Playlist(
      "#EXTM3U\r\n#EXTINF:1,x\r\nA\r\nB\r\n\r\n#extinf:lower\r\nC\r\nB\r\n#EXTINF:2,y\r\nD\r\n");
  const std::pair<const char*, int> cases[] = {
      {"A", 0}, {"B", 1}, {"", 2}, {"#extinf:lower", 3}, {"C", 4}, {"D", 6},
      {"a", -1},               // letter case counts
      {"#EXTINF:1,x", -1},     // the information line itself is never matched
      {"#EXTM3U", -1},         // nor the header
  };
  for (const auto& [name, number] : cases) {
    EXPECT_EQ(FindEntry(file, name), number) << '"' << name << '"';
  }
  EXPECT_TRUE(file.IsOpen());  // left open for the caller
}

TEST_F(PlaylistFileTest, FindEntryOnEmptyPlaylists) {
  EXPECT_EQ(FindEntry(Playlist("#EXTM3U\r\n"), ""), -1);
  EXPECT_EQ(FindEntry(Playlist(""), ""), -1);
  EXPECT_EQ(FindEntry(Playlist("\x1A#EXTM3U\r\nA\r\n"), "A"), -1);
}

TEST_F(PlaylistFileTest, FindEntryMatchesTheFirst255CharactersOfALongPath) {
  const std::string longPath = "C:\\" + std::string(297, 'p');
  Playlist("#EXTM3U\n" + longPath + "\nnext\n");
  EXPECT_EQ(FindEntry(file, longPath.substr(0, 255)), 0);
  EXPECT_EQ(FindEntry(file, longPath), -1);
  EXPECT_EQ(FindEntry(file, "next"), 1);
}

TEST_F(PlaylistFileTest, BinaryGarbageReadsAsLinesWithoutFailure) {
  // Every byte value but Ctrl-Z, over and over; the line count follows the line feeds.
  std::string garbage;
  for (int i = 0; i < 5000; ++i) {
    const auto byte = static_cast<char>((i * 7919) % 256);
    garbage += byte == 26 ? 'z' : byte;
  }
  const auto lineFeeds = std::count(garbage.begin(), garbage.end(), '\n');
  Playlist(garbage).Open();
  long lines = 0;
  while (!file.Eof()) {
    EXPECT_LE(file.ReadLine().size(), 255u);
    ++lines;
  }
  EXPECT_EQ(lines, garbage.back() == '\n' ? lineFeeds : lineFeeds + 1);
}

TEST_F(PlaylistFileTest, StatesAndFailures) {
  EXPECT_FALSE(file.IsBound());
  try {
    file.Open();
    FAIL() << "opening an unbound file must fail";
  } catch (const IoError&) {
  }
  file.Bind(dir / "missing.m3u");
  EXPECT_TRUE(file.IsBound());
  try {
    FindEntry(file, "A");
    FAIL() << "a missing playlist file must raise an I/O failure";
  } catch (const IoError& e) {
    EXPECT_EQ(e.Code(), kErrorFileNotFound);
  }
  EXPECT_FALSE(file.IsOpen());

  Playlist("#EXTM3U\nA\n").Open();
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Path(), path);  // closing keeps the binding
  EXPECT_EQ(FindEntry(file, "A"), 0);
}

TEST_F(PlaylistFileTest, ReadAndCloseFailuresCarryTheSystemCode) {
  os.FailOn("read", "winamp.m3u", 30);
  Playlist("#EXTM3U\nA\n");
  try {
    FindEntry(file, "A");
    FAIL();
  } catch (const IoError& e) {
    EXPECT_EQ(e.Code(), 30u);
  }
  FakePlatform os2;
  os2.FailOn("close", "winamp.m3u", 6);
  PlaylistFile other(os2);
  other.Bind(path);
  other.Open();
  EXPECT_THROW(other.Close(), IoError);
  EXPECT_FALSE(other.IsOpen());
}

}  // namespace
}  // namespace plenvox
