#include "playlist/TempPlaylist.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/TextEncoding.h"
#include "platform/posix/PosixPlatform.h"
#include "playlist/IoError.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using test::Exists;
using test::FakePlatform;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TDynamicArray Paths(std::initializer_list<std::string> paths) {
  TDynamicArray list;
  for (const auto& path : paths) list.Add(path);
  return list;
}

TDynamicArrayI Numbers(std::initializer_list<std::int32_t> numbers) {
  TDynamicArrayI list;
  for (auto number : numbers) list.Add(number);
  return list;
}

class TempPlaylistTest : public ::testing::Test {
 protected:
  TempPlaylistTest() : playlist(os) {
    settings.TempPlaylist = dir / "temp.m3u";
    settings.WinampPlaylist = dir / "winamp.m3u";
    playlist.Bind(settings.WinampPlaylist);
  }
  std::string Temp() const { return ReadFile(settings.TempPlaylist); }
  void Playlist(const std::string& text) { WriteFile(settings.WinampPlaylist, text); }
  std::string FilteredCopy(std::initializer_list<std::int32_t> removals) {
    TRemovalSet numbers(Numbers(removals));
    WriteFilteredCopy(os, settings.TempPlaylist, playlist, numbers);
    return Temp();
  }
  std::string FilteredCopyByNames(const std::vector<std::string>& names) {
    TRemovalNames removals(names, playlist.Encoding());
    WriteFilteredCopy(os, settings.TempPlaylist, playlist, removals);
    return Temp();
  }

  TempDir dir;
  FakePlatform os;
  // What the writers are given from the settings.
  struct {
    std::string TempPlaylist;
    std::string WinampPlaylist;
    bool BlockDead = false;
  } settings;
  PlaylistFile playlist;
};

TEST(RemovalSetTest, FindsAnyItemAndNothingElse) {
  const TRemovalSet set(Numbers({4, 0, 4, -1}));
  for (std::int32_t n : {4, 0, -1}) EXPECT_TRUE(set.Contains(n)) << n;
  for (std::int32_t n : {1, 3, 5, -2}) EXPECT_FALSE(set.Contains(n)) << n;
  EXPECT_FALSE(TRemovalSet(TDynamicArrayI()).Contains(0));
}

// --- WriteAdditions ------------------------------------------------------------

TEST_F(TempPlaylistTest, AdditionsOfAnEmptyListAreTheHeaderOnly) {
  WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, TDynamicArray(), settings.BlockDead);
  EXPECT_EQ(Temp(), "#EXTM3U\r\n");
}

TEST_F(TempPlaylistTest, AdditionsWithBlockDeadLeaveOutMissingFilesAndFolders) {
  const std::string song = dir / "a.mp3";
  const std::string folder = dir / "folder.mp3";
  WriteFile(song, "x");
  ::mkdir(folder.c_str(), 0700);
  const TDynamicArray paths = Paths({dir / "missing.mp3", song, folder, song});

  settings.BlockDead = true;
  WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, paths, settings.BlockDead);
  EXPECT_EQ(Temp(), "#EXTM3U\r\n" + song + "\r\n" + song + "\r\n");

  settings.BlockDead = false;
  WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, paths, settings.BlockDead);
  EXPECT_EQ(Temp(), "#EXTM3U\r\n" + dir / "missing.mp3" + "\r\n" + song + "\r\n" + folder +
                        "\r\n" + song + "\r\n");
}

TEST_F(TempPlaylistTest, AdditionsWriteLongPathsWhole) {
  const std::string path = "D:\\" + std::string(300, 'p') + ".mp3";
  WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, Paths({path}), settings.BlockDead);
  EXPECT_EQ(Temp(), "#EXTM3U\r\n" + path + "\r\n");
}

TEST_F(TempPlaylistTest, AdditionsReplaceAnEarlierTemporaryPlaylist) {
  WriteFile(settings.TempPlaylist, std::string(1000, 'z'));
  WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, Paths({"C:\\a.mp3"}), settings.BlockDead);
  EXPECT_EQ(Temp(), "#EXTM3U\r\nC:\\a.mp3\r\n");
}

TEST_F(TempPlaylistTest, ManyLinesAreWrittenCompletelyAndInOrder) {
  // More than one write block's worth of text.
  TDynamicArray paths;
  std::string expected = "#EXTM3U\r\n";
  for (int i = 0; i < 1500; ++i) {
    const std::string path = "C:\\Music\\" + std::to_string(i) + std::string(40, 'm') + ".mp3";
    paths.Add(path);
    expected += path + "\r\n";
  }
  WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, paths, settings.BlockDead);
  EXPECT_EQ(Temp(), expected);
}

// --- WriteFilteredCopy -----------------------------------------------------------

TEST_F(TempPlaylistTest, FilteredCopyOfAHeaderOnlyPlaylistIsTheHeader) {
  Playlist("#EXTM3U\r\n");
  EXPECT_EQ(FilteredCopy({0}), "#EXTM3U\r\n");
}

// Entries: 0 = info + A, 1 = plain B, 2 = empty line, 3 = info + D, 4 = plain E.
// The player's own header, whatever it holds, is replaced by "#EXTM3U"; line ends become
// CR LF; a lone CR inside a line is dropped by the line rules.
constexpr const char* kMixed =
    "#EXTM3U whatever\n#EXTINF:10,a\r\nA\r\nB\n\r\n#EXTINF:20,d\nD\rx\r\nE";

struct FilterCase {
  const char* name;
  std::vector<std::int32_t> removals;
  std::string expected;
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }

class FilteredCopyTest : public TempPlaylistTest,
                         public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilteredCopyTest, LeavesOutExactlyTheListedEntries) {
  Playlist(kMixed);
  TDynamicArrayI numbers;
  for (auto n : GetParam().removals) numbers.Add(n);
  TRemovalSet removals(numbers);
  WriteFilteredCopy(os, settings.TempPlaylist, playlist, removals);
  EXPECT_EQ(Temp(), "#EXTM3U\r\n" + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Removals, FilteredCopyTest,
    ::testing::Values(
        FilterCase{"none", {}, "#EXTINF:10,a\r\nA\r\nB\r\n\r\n#EXTINF:20,d\r\nDx\r\nE\r\n"},
        FilterCase{"firstWithInfoLine", {0}, "B\r\n\r\n#EXTINF:20,d\r\nDx\r\nE\r\n"},
        FilterCase{"plain", {1}, "#EXTINF:10,a\r\nA\r\n\r\n#EXTINF:20,d\r\nDx\r\nE\r\n"},
        FilterCase{"emptyLine", {2}, "#EXTINF:10,a\r\nA\r\nB\r\n#EXTINF:20,d\r\nDx\r\nE\r\n"},
        FilterCase{"lastWithoutLineEnd", {4}, "#EXTINF:10,a\r\nA\r\nB\r\n\r\n#EXTINF:20,d\r\nDx\r\n"},
        FilterCase{"severalAndRepeatedAndUnknown", {3, 0, 3, 99, -1}, "B\r\n\r\nE\r\n"},
        FilterCase{"all", {0, 1, 2, 3, 4}, ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TempPlaylistTest, FilteredCopyNumbersEntriesAsFindEntryDoes) {
  Playlist(kMixed);
  const std::vector<std::string> paths = {"A", "B", "Dx", "E"};
  for (const auto& removed : paths) {
    const std::int32_t number = FindEntry(playlist, removed);
    ASSERT_NE(number, -1) << removed;
    const std::string copy = FilteredCopy({number});
    for (const auto& path : paths) {
      const bool kept = copy.find("\n" + path + "\r\n") != std::string::npos;
      EXPECT_EQ(kept, path != removed) << "removed " << removed << ", looked for " << path;
    }
  }
}

TEST_F(TempPlaylistTest, FilteredCopyKeepsLongLinesWholeButNumbersThemByTheLineRules) {
  const std::string longPath = "C:\\" + std::string(300, 'l') + ".mp3";
  const std::string longInfo = "#EXTINF:1," + std::string(300, 'i');
  Playlist("#EXTM3U\r\n" + longInfo + "\r\n" + longPath + "\r\nB\r\n" + longPath + "\r\nC\r\n");
  // Entry 2 is the plain long path; its lookup name is its first 255 characters.
  ASSERT_EQ(FindEntry(playlist, longPath.substr(0, 255)), 0);
  EXPECT_EQ(FilteredCopy({1}), "#EXTM3U\r\n" + longInfo + "\r\n" + longPath + "\r\n" + longPath +
                                   "\r\nC\r\n");
  EXPECT_EQ(FilteredCopy({0, 2}), "#EXTM3U\r\nB\r\nC\r\n");
}

// A delete batch removes by name while it copies: the first entry of each name, as
// FindEntry finds it, whatever the order of the names and however often one is given.
TEST_F(TempPlaylistTest, FilteredCopyByNamesLeavesOutTheFirstEntryOfEachName) {
  const std::string longPath = "C:\\" + std::string(300, 'l') + ".mp3";
  Playlist("#EXTM3U\r\n#EXTINF:1,a\r\nA\r\nB\r\n#EXTINF:2,a again\r\nA\r\n" + longPath + "\r\nC\r\n");
  EXPECT_EQ(FilteredCopyByNames({"C", "A", "A", "missing", longPath.substr(0, 255)}),
            "#EXTM3U\r\nB\r\n#EXTINF:2,a again\r\nA\r\n");

  // In a UTF-8 playlist a name is the part of the path that the host's record holds.
  const std::string wide = "C:\\" + std::string(600, 'w');
  Playlist("#EXTM3U\r\n" + wide + "\r\nB\r\n");
  playlist.Bind(settings.WinampPlaylist, TTextEncoding::Utf8);
  EXPECT_EQ(FilteredCopyByNames({CutName(TTextEncoding::Utf8, wide)}), "#EXTM3U\r\nB\r\n");
}

// --- Failures --------------------------------------------------------------------

// A "?" stands in the player's ANSI playlist for a character that its code page lacks;
// such an entry handed back would name no file: the copy is refused, the player's
// playlist stays as it was.
TEST_F(TempPlaylistTest, FilteredCopyRefusesEntriesWhoseNamesLostACharacter) {
  Playlist("#EXTM3U\r\n#EXTINF:3,Why?\r\nC:\\a.mp3\r\nhttp://radio/?id=1\r\n"
           "\\\\?\\C:\\long.mp3\r\n#EXTVLCOPT:x?\r\nC:\\Music\\???.mp3\r\nB\r\n");
  EXPECT_THROW(FilteredCopy({1}), IoError) << "the lost names are kept";
  EXPECT_EQ(FilteredCopy({4}),
            "#EXTM3U\r\n#EXTINF:3,Why?\r\nC:\\a.mp3\r\nhttp://radio/?id=1\r\n\\\\?\\C:\\long.mp3\r\n"
            "#EXTVLCOPT:x?\r\nB\r\n")
      << "titles, addresses, long-path prefixes and comments may hold one";

  // Where the code page is UTF-8 (Linux) nothing is lost: "?" is a file name's own.
  PosixPlatform utf8;
  TRemovalSet none{TDynamicArrayI()};
  WriteFilteredCopy(utf8, settings.TempPlaylist, playlist, none);
  EXPECT_NE(Temp().find("C:\\Music\\???.mp3\r\n"), std::string::npos);
}

TEST_F(TempPlaylistTest, MissingPlaylistRaisesAfterTheTemporaryPlaylistWasCreated) {
  try {
    FilteredCopy({});
    FAIL() << "no failure raised";
  } catch (const IoError& e) {
    EXPECT_EQ(e.Code(), kErrorFileNotFound);
  }
  EXPECT_TRUE(Exists(settings.TempPlaylist));
}

struct FaultCase {
  const char* name;
  const char* op;
  const char* pathPart;
  bool filtered;  // WriteFilteredCopy, else WriteAdditions
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class TempPlaylistFaultTest : public TempPlaylistTest,
                              public ::testing::WithParamInterface<FaultCase> {};

TEST_P(TempPlaylistFaultTest, EveryFailingStepRaisesWithTheSystemCode) {
  Playlist("#EXTM3U\r\nA\r\n");
  os.FailOn(GetParam().op, GetParam().pathPart, 1234);
  try {
    if (GetParam().filtered) {
      TRemovalSet none{TDynamicArrayI()};
      WriteFilteredCopy(os, settings.TempPlaylist, playlist, none);
    } else {
      WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, Paths({"C:\\a.mp3"}), settings.BlockDead);
    }
    FAIL() << "no failure raised";
  } catch (const IoError& e) {
    EXPECT_EQ(e.Code(), 1234u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TempPlaylistFaultTest,
    ::testing::Values(FaultCase{"additionsCreate", "create", "temp.m3u", false},
                      FaultCase{"additionsWrite", "write", "temp.m3u", false},
                      FaultCase{"additionsClose", "close", "temp.m3u", false},
                      FaultCase{"copyCreate", "create", "temp.m3u", true},
                      FaultCase{"copyWrite", "write", "temp.m3u", true},
                      FaultCase{"copyClose", "close", "temp.m3u", true},
                      FaultCase{"copyOpenPlaylist", "open", "winamp.m3u", true},
                      FaultCase{"copyReadPlaylist", "read", "winamp.m3u", true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(TempPlaylistTest, AFailedWriteAfterTheFirstBlockRaises) {
  TDynamicArray paths;
  for (int i = 0; i < 1500; ++i) paths.Add("C:\\Music\\" + std::string(60, 'm') + ".mp3");
  os.FailOn("write", "temp.m3u", kErrorWriteFault, 1);
  EXPECT_THROW(WriteAdditions(os, TTextEncoding::Ansi, settings.TempPlaylist, paths, settings.BlockDead), IoError);
}

}  // namespace
}  // namespace plenvox
