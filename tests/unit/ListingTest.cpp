#include <gtest/gtest.h>

#include <cstring>

#include "plugin/WindowsEdition.h"
#include "plugin/ContentFields.h"
#include "plugin/HostInterface.h"
#include "playlist/TextFile.h"
#include "support/FakePlatform.h"
#include "support/FakePlayer.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using test::FakePlatform;
using test::TempDir;
using Calls = std::vector<std::string>;

constexpr WindowHandle kHost = 0x2002;
constexpr const char* kIni = "C:\\plenvox.ini";

// A record as a host passes it in: every byte set, so untouched fields show.
TFindData HostRecord(const char* name = "host") {
  TFindData record;
  std::memset(&record, 0x5A, sizeof record);
  std::snprintf(record.FileName, sizeof record.FileName, "%s", name);
  return record;
}

bool SameBytes(const void* a, const void* b, std::size_t size) { return std::memcmp(a, b, size) == 0; }

class ListingTest : public ::testing::Test {
 protected:
  ListingTest() {
    os.windows["TTOTAL_CMD"] = kHost;
    os.registryValue = RegistryValue{1, std::string(kIni) + '\0'};
    Configure("1");
  }
  void Configure(const std::string& displayMode, const std::string& folder = "") {
    os.iniFiles[kIni] = "[Path]\nWinampFolder=" + (folder.empty() ? dir.Path() + "/" : folder) +
                        "\n[Mode]\nDisplayMode=" + displayMode + "\n";
  }
  void WritePlaylist(const std::string& bytes) { test::WriteFile(dir / "winamp.m3u", bytes); }
  // The names of a whole listing of the root.
  std::vector<std::string> ListNames() {
    std::vector<std::string> names;
    TFindData record = HostRecord();
    if (plugin.FsFindFirst("\\", record) != wfx::kSearchHandle) return names;
    do names.emplace_back(record.FileName);
    while (plugin.FsFindNext(record));
    plugin.FsFindClose();
    return names;
  }
  void ExpectEmptyFolder(const std::string& path, const std::string& why) {
    TFindData record = HostRecord();
    os.SetLastError(0);
    EXPECT_EQ(plugin.FsFindFirst(path, record), wfx::kInvalidHandle) << why;
    EXPECT_EQ(os.GetLastError(), kErrorNoMoreFiles) << why;
    EXPECT_FALSE(plugin.Playlist().IsOpen()) << why;
    EXPECT_FALSE(plugin.FsFindNext(record)) << why;
  }

  TempDir dir;
  FakePlatform os;
  WindowsEdition edition{os};
  Plugin& plugin = edition.plugin;
};

TEST_F(ListingTest, LoadCapturesModuleAndHostPaths) {
  FakePlatform other;
  other.environment["COMMANDER_PATH"] = "C:\\Total CMD";
  WindowsEdition loadedEdition(other);
  const Plugin& loaded = loadedEdition.plugin;
  EXPECT_EQ(loaded.ModulePath(), "C:\\Host\\plugins\\PlenvoxFast.wfx");
  EXPECT_EQ(loaded.CommanderPath(), "c:\\total cmd");
  EXPECT_EQ(other.calls, (Calls{"GetEnv(commander_path)"})) << "nothing else is read or sent at load";
  EXPECT_FALSE(loaded.Settings().Valid);
}

TEST_F(ListingTest, RootNameFitsTheBufferAndTheAboutBoxShowsEveryTime) {
  char small[8];
  std::memset(small, 0x7F, sizeof small);
  plugin.FsGetDefRootName(small, 5);
  EXPECT_STREQ(small, "Plen");
  EXPECT_EQ(small[5], 0x7F);
  char large[300];
  std::memset(large, 0x7F, sizeof large);
  plugin.FsGetDefRootName(large, 260);
  EXPECT_STREQ(large, "PlenvoxFast");
  EXPECT_EQ(large[12], 0x7F) << "nothing is written beyond the zero";
  char one = 'x';
  plugin.FsGetDefRootName(&one, 1);
  EXPECT_EQ(one, '\0');
  const std::string about = "MessageBox(8194, Plenvox2 (Fast) version 1.0 by Quorlan., Information, 64)";
  EXPECT_EQ(os.CallsWithoutLookups(), (Calls{about, about, about}));
}

TEST_F(ListingTest, InitLoadsSettingsAndHasThePlayerWriteItsPlaylist) {
  test::FakePlayer player(os, dir.Path() + "/winamp.exe", dir / "winamp.m3u");
  player.entries = {"a.mp3"};
  EXPECT_EQ(plugin.FsInit(), 0);
  EXPECT_TRUE(plugin.Settings().Valid);
  EXPECT_EQ(os.CallsStartingWith({"RunCommandLine", "SendMessage"}),
            (Calls{"RunCommandLine(" + dir.Path() + "/winamp.exe, 5)",
                   "SendMessage(4097, 1024, 0, 120)", "SendMessage(4097, 1024, 0, 338)",
                   "SendMessage(4097, 1024, 0, 337)"}))
      << "the player writes its playlist, then is asked where (and knows neither request)";
  EXPECT_EQ(test::ReadFile(dir / "winamp.m3u"), "#EXTM3U\r\n#EXTINF:-1,title\r\na.mp3\r\n");
}

TEST_F(ListingTest, InitWithoutSettingsStillAsksThePlayer) {
  os.registryValue.reset();
  EXPECT_EQ(plugin.FsInit(), 0);
  EXPECT_EQ(os.CallsStartingWith({"RunCommandLine", "SendMessage"}),
            (Calls{"RunCommandLine(winamp.exe, 5)"}));
}

TEST_F(ListingTest, FirstRunMessageAndSettingsProgramAtEveryListing) {
  os.registryValue.reset();
  for (const char* path : {"\\", "\\x", ""}) ExpectEmptyFolder(path, path);
  const Calls once = {
      "MessageBox(8194, Main settings file not found or empty. Please, run SETTINGS.EXE, "
      "First run message, 64)",
      "StartProgram(C:\\Host\\plugins\\settings.exe, )"};
  Calls expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), once.begin(), once.end());
  EXPECT_EQ(os.CallsStartingWith({"MessageBox", "StartProgram"}), expected);
}

TEST_F(ListingTest, EmptyFolderCases) {
  ExpectEmptyFolder("\\", "no playlist file");
  WritePlaylist("#EXTM3U\r\nA\r\n");
  ExpectEmptyFolder("\\x", "not the root");
  ExpectEmptyFolder("", "empty path");
  ExpectEmptyFolder("\\\\", "two backslashes");
  WritePlaylist("#EXTM3U\r\n");
  ExpectEmptyFolder("\\", "header only");
  WritePlaylist("");
  ExpectEmptyFolder("\\", "empty file");
  WritePlaylist("#EXTM3U\r\n\r\nB\r\n");
  ExpectEmptyFolder("\\", "an empty first entry hides the rest");
  WritePlaylist("#EXTM3U\r\n#EXTINF:1,x\r\n");
  ExpectEmptyFolder("\\", "information line without path");
  EXPECT_TRUE(os.CallsStartingWith({"MessageBox"}).empty());
}

TEST_F(ListingTest, PlaylistThatCannotBeReadShowsAnEmptyFolder) {
  WritePlaylist("#EXTM3U\r\nA\r\n");
  os.FailOn("open", "winamp.m3u", kErrorAccessDenied);
  ExpectEmptyFolder("\\", "open fails");
  FakePlatform os2;
  os2.registryValue = os.registryValue;
  os2.iniFiles = os.iniFiles;
  os2.FailOn("read", "winamp.m3u", kErrorReadFault);
  WindowsEdition otherEdition(os2);
  Plugin& other = otherEdition.plugin;
  TFindData record = HostRecord();
  EXPECT_EQ(other.FsFindFirst("\\", record), wfx::kInvalidHandle);
  EXPECT_EQ(os2.GetLastError(), kErrorNoMoreFiles);
  EXPECT_FALSE(other.Playlist().IsOpen());
}

TEST_F(ListingTest, ReadFailureInTheMiddleEndsTheListing) {
  // The first buffer fill succeeds, the second fails.
  std::string playlist = "#EXTM3U\r\n";
  for (int i = 0; i < 9000; ++i) playlist += "C:\\music\\" + std::to_string(i) + ".mp3\r\n";
  WritePlaylist(playlist);
  os.FailOn("read", "winamp.m3u", kErrorReadFault, 1);
  Configure("0");
  // Listed are the entries whose line ends inside the first read.
  const std::string header = "#EXTM3U\r\n";
  std::size_t whole = 0;
  for (auto end = playlist.find('\n', header.size()); end < kTextReadBlock;
       end = playlist.find('\n', end + 1)) {
    ++whole;
  }
  EXPECT_EQ(ListNames().size(), whole);
  EXPECT_FALSE(plugin.Playlist().IsOpen());
}

// A record that shows no file: no attributes, no time, no size, no short name, and the
// entry's path as its name.
void ExpectNoFile(const TFindData& record, const std::string& name) {
  EXPECT_STREQ(record.FileName, name.c_str());
  EXPECT_EQ(record.FileAttributes, 0u);
  for (const TFileTime& time : {record.CreationTime, record.LastAccessTime, record.LastWriteTime}) {
    EXPECT_TRUE(SameBytes(&time, &wfx::kNoFileTime, 8)) << "no time";
  }
  EXPECT_EQ(record.FileSizeHigh, 0u);
  EXPECT_EQ(record.FileSizeLow, 0u);
  EXPECT_EQ(record.Reserved0, 0u);
  EXPECT_EQ(record.Reserved1, 0u);
  EXPECT_STREQ(record.AlternateFileName, "");
}

// The host hands in one record for every item (as Double Commander does): nothing of
// one item may stay for the next.
TEST_F(ListingTest, Mode0WritesEveryFieldOfEveryItemAsNoFile) {
  Configure("0");
  WritePlaylist("#EXTM3U\r\n#EXTINF:3,t\r\nC:\\a.mp3\r\nC:\\b.mp3\r\n");
  TFindData record = HostRecord();
  ASSERT_EQ(plugin.FsFindFirst("\\", record), 0);
  ExpectNoFile(record, "C:\\a.mp3");
  record = HostRecord();
  ASSERT_TRUE(plugin.FsFindNext(record));
  ExpectNoFile(record, "C:\\b.mp3");
  EXPECT_FALSE(plugin.FsFindNext(record));
  EXPECT_EQ(plugin.FsFindClose(), 0);
  EXPECT_FALSE(plugin.Playlist().IsOpen());
}

TEST_F(ListingTest, Mode1TakesTheFileRecordAndKeepsTheEntryPathAsName) {
  const std::string song = dir / "song.mp3";
  test::WriteFile(song, std::string(70000, 's'));
  WritePlaylist("#EXTM3U\r\n" + song + "\r\n" + dir.Path() + "/missing.mp3\r\n");
  TFindData record = HostRecord();
  ASSERT_EQ(plugin.FsFindFirst("\\", record), 0);
  TFileRecord stat;
  ASSERT_TRUE(os.FindFile(song, stat));
  EXPECT_EQ(record.FileSizeLow, 70000u);
  EXPECT_EQ(record.FileSizeHigh, 0u);
  EXPECT_EQ(record.FileAttributes, stat.FileAttributes);
  EXPECT_TRUE(SameBytes(&record.LastWriteTime, &stat.LastWriteTime, 8));
  EXPECT_STREQ(record.FileName, song.c_str());

  // Into the record of the item before, as a host that reuses it hands it in.
  ASSERT_TRUE(plugin.FsFindNext(record));
  ExpectNoFile(record, dir.Path() + "/missing.mp3");
  plugin.FsFindClose();
}

// The columns read the entries from the playlist file after the listing, and take the
// listing's look-ups only while the file is the one listed.
TEST_F(ListingTest, TheColumnsShowTheListedEntriesWithTheListingsLookups) {
  const std::string song = dir / "song.mp3";
  const std::string missing = dir / "missing.mp3";
  test::WriteFile(song, std::string(70000, 's'));
  WritePlaylist("#EXTM3U\r\n#EXTINF:12,Entry title\r\n" + song + "\r\n" + missing + "\r\n");
  EXPECT_EQ(ListNames(), (std::vector<std::string>{song, missing}));
  Columns& columns = plugin.Content();
  const auto value = [&](const std::string& name, int field) {
    return columns.Value("\\" + name, false, field, 0, wfx::kContentDelayIfSlow);
  };
  EXPECT_EQ(value(missing, kFieldPosition).Number, 2);
  EXPECT_EQ(value(song, kFieldInfoTitle).Text, "Entry title");
  EXPECT_EQ(value(song, kFieldInfoLength).Floating, 12.0);
  // Answered at once from the listing's look-ups.
  const TFieldValue size = value(song, kFieldSize);
  EXPECT_EQ(size.Type, wfx::kFtNumeric64);
  EXPECT_EQ(size.Number, 70000);
  const TFieldValue exists = value(missing, kFieldExists);
  EXPECT_EQ(exists.Type, wfx::kFtBoolean);
  EXPECT_EQ(exists.Number, 0);

  // The player rewrites the playlist after the listing, with as many entries: its entries
  // are shown, and the files looked up again rather than joined by number.
  EXPECT_EQ(ListNames(), (std::vector<std::string>{song, missing}));
  WritePlaylist("#EXTM3U\r\n#EXTINF:5,Other\r\n" + missing + "\r\n" + song + "\r\n");
  EXPECT_EQ(value(song, kFieldPosition).Number, 2);
  EXPECT_EQ(value(song, kFieldInfoTitle).Type, wfx::kFtFieldEmpty);
  EXPECT_EQ(value(song, kFieldSize).Type, wfx::kFtDelayed);
  EXPECT_EQ(columns.Value("\\" + song, false, kFieldSize, 0, 0).Number, 70000);
}

TEST_F(ListingTest, OtherModesWriteNothing) {
  Configure("3");
  WritePlaylist("#EXTM3U\r\nC:\\a.mp3\r\n");
  TFindData record = HostRecord("kept");
  const TFindData passed = record;
  EXPECT_EQ(plugin.FsFindFirst("\\", record), 0) << "the name the host left is not empty";
  EXPECT_TRUE(SameBytes(&record, &passed, sizeof record));
  plugin.FsFindClose();
  TFindData nameless = HostRecord("");
  EXPECT_EQ(plugin.FsFindFirst("\\", nameless), wfx::kInvalidHandle);
  EXPECT_EQ(os.GetLastError(), kErrorNoMoreFiles);
}

TEST_F(ListingTest, EmptyLinesAndLongPathsAmongLaterEntries) {
  Configure("0");
  const std::string longPath = "C:\\" + std::string(252, 'x');
  WritePlaylist("#EXTM3U\r\nA\r\n\r\n" + longPath + "\r\n" + longPath + "tail\r\nB");
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"A", "", longPath, longPath, "B"}));
  EXPECT_EQ(longPath.size(), 255u);
}

TEST_F(ListingTest, SettingsAreReloadedAtEveryListing) {
  Configure("0");
  WritePlaylist("#EXTM3U\r\nC:\\a.mp3\r\n");
  TFindData record = HostRecord();
  ASSERT_EQ(plugin.FsFindFirst("\\", record), 0);
  EXPECT_EQ(record.FileAttributes, 0u);
  plugin.FsFindClose();
  Configure("3");
  record = HostRecord();
  ASSERT_EQ(plugin.FsFindFirst("\\", record), 0);
  EXPECT_EQ(record.FileAttributes, 0x5A5A5A5Au);
  plugin.FsFindClose();
}

TEST_F(ListingTest, SettingsAreReloadedAtEveryUnicodeListing) {
  // Both of the player's playlists: the Unicode entry points read "winamp.m3u8", and
  // whichever they read, each listing loads the settings again.
  const std::string playlist = "#EXTM3U\r\nC:\\a.mp3\r\n";
  WritePlaylist(playlist);
  test::WriteFile(dir / "winamp.m3u8", playlist);
  for (const auto& [mode, attributes] : {std::pair{"0", 0u}, std::pair{"3", 0x5A5A5A5Au}}) {
    Configure(mode);
    TFindDataW record;
    std::memset(&record, 0x5A, sizeof record);
    ASSERT_EQ(plugin.FsFindFirstW(u"\\", record), 0) << "mode " << mode;
    EXPECT_EQ(record.FileAttributes, attributes) << "mode " << mode;
    plugin.FsFindClose();
  }
}

TEST_F(ListingTest, NewFindFirstRedirectsAnOpenListing) {
  Configure("0");
  WritePlaylist("#EXTM3U\r\nA\r\nB\r\nC\r\n");
  TFindData record = HostRecord();
  ASSERT_EQ(plugin.FsFindFirst("\\", record), 0);
  ASSERT_TRUE(plugin.FsFindNext(record));
  EXPECT_STREQ(record.FileName, "B");
  ASSERT_EQ(plugin.FsFindFirst("\\", record), 0);
  ASSERT_TRUE(plugin.FsFindNext(record));
  EXPECT_STREQ(record.FileName, "B") << "restarted from the top";
  EXPECT_EQ(plugin.FsFindFirst("\\sub", record), wfx::kInvalidHandle);
  EXPECT_EQ(plugin.CurrentPath(), "\\sub");
  EXPECT_FALSE(plugin.FsFindNext(record));
}

TEST_F(ListingTest, GetFileOfAStreamAddressIsNotSupported) {
  std::string target = dir / "copy.mp3";
  EXPECT_EQ(plugin.FsGetFile("\\http://radio.example/stream", target, 0), wfx::kFileNotSupported);
  EXPECT_FALSE(test::Exists(target));
}

}  // namespace
}  // namespace plenvox
