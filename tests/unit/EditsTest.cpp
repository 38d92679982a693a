#include <gtest/gtest.h>
#include <sys/stat.h>

#include "plugin/ExtensionFilter.h"
#include "plugin/HostInterface.h"
#include "player/WindowedHost.h"
#include "support/PluginScene.h"

namespace plenvox {
namespace {

using test::Calls;
using test::AskFolderCalls;
using test::CloseCall;
using test::Exists;
using test::OpenCall;
using test::RefreshCall;
using test::Send;
using test::WritePlaylistCall;

constexpr int kStart = wfx::kStatusStart;
constexpr int kEnd = wfx::kStatusEnd;

// --- The extension filter ----------------------------------------------------------

struct ExtensionCase {
  const char* path;
  const char* extension;
};

TEST(ExtensionOfTest, TakesTheTextFromTheLastDotOfTheFileName) {
  const ExtensionCase cases[] = {
      {"C:\\Music\\a.mp3", ".mp3"},      {"C:\\Music\\a.b.MP3", ".MP3"},
      {"C:\\Music\\noext", ""},          {"C:\\Music.d\\noext", ""},
      {"C:\\Music\\a.", "."},            {"C:.mp3", ".mp3"},
      {"C:\\a.mp3:stream", ""},          {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtensionOf(c.path), c.extension) << c.path;
  EXPECT_EQ(ExtensionOf("C:\\a." + std::string(300, 'x')).size(), 255u);
}

TEST(FilterItemsTest, SplitsAtColonsAndLowerCasesAToZ) {
  test::FakePlatform os;
  using Items = std::vector<std::string>;
  EXPECT_EQ(FilterItems(os, TTextEncoding::Ansi, u"MP3:Wav:"), (Items{"mp3", "wav"}));
  EXPECT_EQ(FilterItems(os, TTextEncoding::Ansi, u""), Items{});
  EXPECT_EQ(FilterItems(os, TTextEncoding::Ansi, u":"), Items{""});
  EXPECT_EQ(FilterItems(os, TTextEncoding::Ansi, u"mp3::wav"), (Items{"mp3", "", "wav"}));
  // Only A to Z change case; other characters are converted as they are.
  EXPECT_EQ(FilterItems(os, TTextEncoding::Ansi, u"\u00C4X"), Items{"\xC3\x84x"});
  EXPECT_EQ(FilterItems(os, TTextEncoding::Ansi, std::u16string(300, u'A'))[0], std::string(255, 'a'));
}

struct AllowedCase {
  const char16_t* filter;
  const char* path;
  bool allowed;
};

class ExtAllowedTest : public ::testing::TestWithParam<AllowedCase> {};

TEST_P(ExtAllowedTest, AcceptsExactlyTheListedExtensionsInAnyCase) {
  test::FakePlatform os;
  TSettings settings;
  settings.ExtFilter = GetParam().filter;
  EXPECT_EQ(ExtAllowed(os, TTextEncoding::Ansi, settings, ExtensionOf(GetParam().path)), GetParam().allowed);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ExtAllowedTest,
    ::testing::Values(
        AllowedCase{u"mp3", "C:\\M\\a.mp3", true}, AllowedCase{u"mp3", "C:\\M\\a.MP3", true},
        AllowedCase{u"mp3", "C:\\M\\a.b.MP3", true}, AllowedCase{u"mp3", "C:\\M\\song.wav", false},
        AllowedCase{u"mp3", "C:\\M\\noext", false}, AllowedCase{u"mp3", "C:\\M.mp3\\noext", false},
        AllowedCase{u"mp3", "C:\\M\\a.mp3x", false}, AllowedCase{u"mp3", "C:\\M\\a.mp", false},
        AllowedCase{u"mp3:wav", "C:\\M\\a.mp3", true}, AllowedCase{u"mp3:wav", "C:\\M\\a.WAV", true},
        AllowedCase{u"mp3:wav", "C:\\M\\a.ogg", false}, AllowedCase{u"mp3:wav:", "C:\\M\\a.mp3", true},
        AllowedCase{u"mp3:wav:", "C:\\M\\a.Wav", true}, AllowedCase{u"mp3:wav:", "C:\\M\\noext", false},
        AllowedCase{u"mp3:", "C:\\M\\a.mp3", true}, AllowedCase{u"", "C:\\M\\a.mp3", false},
        AllowedCase{u"", "C:\\M\\noext", false}, AllowedCase{u"MP3", "C:\\M\\a.mp3", true},
        // An empty item between two colons stands for "no extension".
        AllowedCase{u"mp3::wav", "C:\\M\\noext", true}));

// --- Batches against the fake player ------------------------------------------------

class EditsTest : public ::testing::Test {
 protected:
  EditsTest() {
    a = scene.dir / "a.mp3";
    b = scene.dir / "b.mp3";
    test::WriteFile(a, "a");
    test::WriteFile(b, "b");
    Configure("mp3", true, true);
  }
  void Configure(const std::string& filter, bool blockDead, bool disableMulti) {
    scene.Configure("", "ExtFilter=" + filter + "\nBlockDead=" + (blockDead ? "1" : "0") +
                            "\nDisableMulti=" + (disableMulti ? "1" : "0"));
  }
  // The player's playlist, listed by the host; then the given files are copied in.
  void AddBatch(const std::vector<std::string>& files) {
    plugin.FsStatusInfo(kStart, wfx::kOpPutMulti);
    for (const auto& file : files) EXPECT_EQ(plugin.FsPutFile(file), wfx::kFileOk) << file;
    plugin.FsStatusInfo(kEnd, wfx::kOpPutMulti);
  }
  void DeleteBatch(const std::vector<std::string>& names) {
    plugin.FsStatusInfo(kStart, wfx::kOpDelete);
    for (const auto& name : names) EXPECT_EQ(plugin.FsDeleteFile(name), wfx::kTrue) << name;
    plugin.FsStatusInfo(kEnd, wfx::kOpDelete);
  }
  std::string Temp() const { return scene.TempPlaylist(); }
  std::string Playlist() const { return scene.PlaylistPath(); }
  static std::string Info(const std::string& path) { return "#EXTINF:-1,title\r\n" + path + "\r\n"; }
  // What the player and the host see of a batch, in order, and the temporary
  // playlist's removal. The player is never asked to rewrite its playlist file while
  // the plug-in still holds it open.
  Calls Observed() const {
    EXPECT_EQ(player.writesWhileOpen, 0);
    return scene.os.CallsStartingWith({"SendMessage", "RunCommandLine", "PostMessage", "DeleteFile"});
  }

  test::PluginScene scene;
  test::FakePlayer& player = scene.player;
  Plugin& plugin = scene.plugin;
  std::string a, b;
};

TEST_F(EditsTest, ListingAnnouncementHasThePlayerWriteItsPlaylist) {
  plugin.FsStatusInfo(kStart, wfx::kOpList);
  plugin.FsStatusInfo(kEnd, wfx::kOpList);
  EXPECT_EQ(scene.os.CallsWithoutLookups(),
            (Calls{WritePlaylistCall(), AskFolderCalls()[0], AskFolderCalls()[1]}));
}

TEST_F(EditsTest, OtherOperationsAndEndsWithoutAStartDoNothing) {
  for (int operation : {0, 2, 3, 4, 6, 7, 9}) {
    plugin.FsStatusInfo(kStart, operation);
    plugin.FsStatusInfo(kEnd, operation);
  }
  plugin.FsStatusInfo(kEnd, wfx::kOpPutMulti);
  plugin.FsStatusInfo(kEnd, wfx::kOpDelete);
  plugin.FsStatusInfo(7, wfx::kOpDelete);
  EXPECT_EQ(scene.os.CallsWithoutLookups(), Calls{});
}

TEST_F(EditsTest, AddBatchHandsThePlayerTheAllowedFilesAtItsEnd) {
  player.entries = {"C:\\old.mp3"};
  scene.ListRoot();
  AddBatch({a, scene.dir / "song.wav", b});
  EXPECT_EQ(Observed(), (Calls{scene.AddCall(), WritePlaylistCall(), "DeleteFile(" + Temp() + ")",
                               RefreshCall()}));
  EXPECT_EQ(scene.handed, Calls{"#EXTM3U\r\n" + a + "\r\n" + b + "\r\n"});
  EXPECT_EQ(player.entries, (Calls{"C:\\old.mp3", a, b}));
  EXPECT_FALSE(Exists(Temp()));
  EXPECT_FALSE(plugin.Playlist().IsOpen());
}

TEST_F(EditsTest, AddBatchWithEveryFileRefusedStillHandsTheHeaderAndCleansUp) {
  scene.ListRoot();
  AddBatch({scene.dir / "song.wav", scene.dir / "noext"});
  EXPECT_EQ(scene.handed, Calls{"#EXTM3U\r\n"});
  EXPECT_TRUE(player.entries.empty());
  EXPECT_FALSE(Exists(Temp()));
  EXPECT_EQ(scene.os.CallsStartingWith({"PostMessage"}), Calls{RefreshCall()});
}

TEST_F(EditsTest, BlockDeadLeavesOutFilesThatDoNotExist) {
  scene.ListRoot();
  AddBatch({scene.dir / "gone.mp3", a});
  EXPECT_EQ(player.entries, Calls{a});
  Configure("mp3", false, true);
  scene.ListRoot();
  AddBatch({scene.dir / "gone.mp3"});
  EXPECT_EQ(player.entries, (Calls{a, scene.dir / "gone.mp3"}));
}

TEST_F(EditsTest, DisableMultiRefusesExactDuplicatesOnly) {
  const std::string upper = scene.dir / "A.mp3";
  test::WriteFile(upper, "A");
  player.entries = {a};
  scene.ListRoot();
  AddBatch({a, upper});
  // Letter case counts: A.mp3 is another file than a.mp3.
  EXPECT_EQ(player.entries, (Calls{a, upper}));
}

TEST_F(EditsTest, WithoutDisableMultiADuplicateIsAddedAgain) {
  Configure("mp3", true, false);
  player.entries = {a};
  scene.ListRoot();
  AddBatch({a, a});
  EXPECT_EQ(player.entries, (Calls{a, a, a}));
  EXPECT_EQ(scene.os.CallsStartingWith({"OpenRead"}), Calls{}) << "no duplicate test";
}

TEST_F(EditsTest, DuplicateTestBeforeAnyListingReadsWinampPlaylist) {
  // FsInit had the player write its playlist, but nothing bound the playlist file yet.
  player.entries = {a};
  plugin.FsStatusInfo(kStart, wfx::kOpList);
  ASSERT_FALSE(plugin.Playlist().IsBound());
  AddBatch({a, b});
  EXPECT_EQ(player.entries, (Calls{a, b}));
}

TEST_F(EditsTest, DuplicateTestOnAnUnreadablePlaylistTreatsTheFileAsNew) {
  player.entries = {a};
  scene.ListRoot();
  scene.os.FailOn("open", "winamp.m3u");
  AddBatch({a});
  EXPECT_EQ(player.entries, (Calls{a, a}));
  EXPECT_FALSE(Exists(Temp()));
}

TEST_F(EditsTest, PutOutsideABatchIsABatchOfItsOwn) {
  player.entries = {"C:\\old.mp3"};
  scene.ListRoot();
  // A single file's copy comes wrapped in operation 4, which the plug-in ignores.
  plugin.FsStatusInfo(kStart, wfx::kOpPutSingle);
  EXPECT_EQ(plugin.FsPutFile(a), wfx::kFileOk);
  plugin.FsStatusInfo(kEnd, wfx::kOpPutSingle);
  EXPECT_EQ(Observed(), (Calls{scene.AddCall(), WritePlaylistCall(), "DeleteFile(" + Temp() + ")",
                               RefreshCall()}));
  EXPECT_EQ(player.entries, (Calls{"C:\\old.mp3", a}));
  EXPECT_FALSE(Exists(Temp()));
  // The next put is a batch of its own again.
  scene.os.calls.clear();
  plugin.FsPutFile(b);
  EXPECT_EQ(player.entries, (Calls{"C:\\old.mp3", a, b}));
  EXPECT_EQ(scene.os.CallsStartingWith({"RunCommandLine"}), Calls{scene.AddCall()});
}

TEST_F(EditsTest, DeleteBatchRebuildsThePlaylistAndKeepsTheCurrentSong) {
  player.entries = {"A", "B", "C", "D"};
  player.position = 2;
  scene.ListRoot();
  DeleteBatch({"\\B"});
  EXPECT_EQ(Observed(), (Calls{WritePlaylistCall(), AskFolderCalls()[0], AskFolderCalls()[1],
                               Send(1024, 0, 101), WritePlaylistCall(),
                               scene.AddCall(), Send(1024, 1, 121), WritePlaylistCall(),
                               "DeleteFile(" + Temp() + ")", RefreshCall()}));
  EXPECT_EQ(scene.handed, Calls{"#EXTM3U\r\n" + Info("A") + Info("C") + Info("D")});
  EXPECT_EQ(player.entries, (Calls{"A", "C", "D"}));
  // Counted down for the entry removed before it: "C" is still current.
  EXPECT_EQ(player.position, 1);
  EXPECT_FALSE(Exists(Temp()));
  EXPECT_FALSE(plugin.Playlist().IsOpen());
}

TEST_F(EditsTest, DeletingTwoEntriesWithTheSamePathRemovesOnlyTheFirst) {
  player.entries = {"A", "X", "B", "X"};
  DeleteBatch({"\\X", "\\X"});
  EXPECT_EQ(player.entries, (Calls{"A", "B", "X"}));
}

TEST_F(EditsTest, DeleteBatchReadsThePlaylistOnceForAllItsLookups) {
  player.entries = {"A", "B", "C", "D", "E"};
  DeleteBatch({"\\B", "\\D", "\\Z", "\\E"});
  EXPECT_EQ(player.entries, (Calls{"A", "C"}));
  // The names are found while the filtered copy is written: one reading in all.
  EXPECT_EQ(scene.os.CallsStartingWith({OpenCall(Playlist())}).size(), 1u);
}

TEST_F(EditsTest, TemporaryFolderWithABlankReachesThePlayerWhole) {
  const std::string temp = scene.dir / "Local Settings";
  ASSERT_EQ(::mkdir(temp.c_str(), 0700), 0);
  scene.os.environment["TEMP"] = temp + "/";
  Configure("mp3", true, true);
  player.entries = {"A", "B", "C"};
  DeleteBatch({"\\B"});
  EXPECT_EQ(player.entries, (Calls{"A", "C"}));
  EXPECT_EQ(scene.os.CallsStartingWith({"RunCommandLine"}),
            Calls{"RunCommandLine(" + scene.Exe() + " /ADD \"" + temp + "/\\temp.m3u\", 1)"});
}

TEST_F(EditsTest, DeleteBatchWithoutAFoundNameHandsThePlayerNothing) {
  player.entries = {"A", "B"};
  player.position = 1;
  DeleteBatch({"\\Z", "\\a", "", "\\"});
  EXPECT_EQ(player.entries, (Calls{"A", "B"}));
  EXPECT_EQ(player.position, 1);
  EXPECT_TRUE(scene.handed.empty());
  EXPECT_EQ(scene.os.CallsStartingWith({Send(1024, 0, 101)}), Calls{}) << "never cleared";
  EXPECT_EQ(scene.os.CallsStartingWith({"PostMessage"}), Calls{RefreshCall()});
  EXPECT_FALSE(Exists(Temp()));
}

TEST_F(EditsTest, DeleteFindsLongPathsAndKeepsOthersWhole) {
  const std::string longPath = "C:\\" + std::string(300, 'l') + ".mp3";
  const std::string other = "C:\\" + std::string(280, 'o') + ".mp3";
  player.entries = {longPath, other, "B"};
  // The backslash goes first, then the name is cut to the 255 characters a line reads as.
  DeleteBatch({"\\" + longPath});
  EXPECT_EQ(player.entries, (Calls{other, "B"}));
}

TEST_F(EditsTest, DeleteOutsideABatchIsABatchOfItsOwn) {
  player.entries = {"A", "B"};
  player.position = 1;
  EXPECT_EQ(plugin.FsDeleteFile("\\A"), wfx::kTrue);
  EXPECT_EQ(Observed(), (Calls{WritePlaylistCall(), AskFolderCalls()[0], AskFolderCalls()[1],
                               Send(1024, 0, 101), WritePlaylistCall(),
                               scene.AddCall(), Send(1024, 0, 121), WritePlaylistCall(),
                               "DeleteFile(" + Temp() + ")", RefreshCall()}));
  EXPECT_EQ(player.entries, Calls{"B"});
  EXPECT_FALSE(Exists(Temp()));
}

struct RemovalCase {
  const char* name;
  std::int32_t current;
  std::vector<std::int32_t> removed;
  std::int32_t entries;
  std::int32_t position;
};

TEST(PositionAfterRemovalTest, TheSameSongOrTheOneAfterItStaysCurrent) {
  const RemovalCase cases[] = {
      {"an entry before it", 3, {1}, 6, 2},
      {"entries before and after it", 3, {0, 2, 5}, 6, 1},
      {"entries after it", 3, {4, 5}, 6, 3},
      {"itself: the next one", 3, {3}, 6, 3},
      {"itself and the next: the one after", 3, {3, 4}, 6, 3},
      {"itself and one before", 3, {1, 3}, 6, 2},
      {"the last, current: the first", 5, {5}, 6, 0},
      {"it and all after it: the first", 3, {1, 3, 4, 5}, 6, 0},
      {"every entry", 1, {0, 1, 2}, 3, 0},
      {"nothing", 2, {}, 3, 2},
      {"the first, current", 0, {0}, 3, 0},
      {"no current entry", -1, {0}, 3, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PositionAfterRemoval(c.current, c.removed, c.entries), c.position) << c.name;
  }
}

// --- Failures: nothing the user owns is lost -----------------------------------------

struct FaultCase {
  const char* name;
  const char* op;
  const char* pathPart;
  int after;
  bool deleting;  // a delete batch, else an add batch
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class EditsFaultTest : public EditsTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(EditsFaultTest, LeavesThePlayersPlaylistAsItWas) {
  const Calls before = {"A", "B", "C"};
  player.entries = before;
  player.position = 1;
  scene.ListRoot();
  test::WriteFile(Temp(), "left over from an earlier run");
  scene.os.FailOn(GetParam().op, GetParam().pathPart, kErrorAccessDenied, GetParam().after);
  if (GetParam().deleting) {
    DeleteBatch({"\\B"});
  } else {
    AddBatch({a});
  }
  EXPECT_EQ(player.entries, before);
  EXPECT_EQ(player.position, 1);
  EXPECT_TRUE(scene.handed.empty()) << "nothing handed to the player";
  EXPECT_EQ(scene.os.CallsStartingWith({Send(1024, 0, 101)}), Calls{}) << "never cleared";
  EXPECT_FALSE(Exists(Temp()));
  EXPECT_EQ(scene.os.CallsStartingWith({"PostMessage"}), Calls{RefreshCall()});
  EXPECT_FALSE(plugin.Playlist().IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EditsFaultTest,
    ::testing::Values(FaultCase{"deletePlaylistUnopenable", "open", "winamp.m3u", 0, true},
                      FaultCase{"deleteCopyCannotReadPlaylist", "read", "winamp.m3u", 1, true},
                      FaultCase{"deleteTempCannotBeCreated", "create", "temp.m3u", 0, true},
                      FaultCase{"deleteTempCannotBeWritten", "write", "temp.m3u", 0, true},
                      FaultCase{"deleteTempCannotBeClosed", "close", "temp.m3u", 0, true},
                      FaultCase{"addTempCannotBeCreated", "create", "temp.m3u", 0, false},
                      FaultCase{"addTempCannotBeWritten", "write", "temp.m3u", 0, false},
                      FaultCase{"addTempCannotBeClosed", "close", "temp.m3u", 0, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(EditsTest, FailureToDeleteTheTemporaryPlaylistIsIgnored) {
  player.entries = {"A", "B"};
  scene.os.FailOn("delete", "temp.m3u");
  DeleteBatch({"\\A"});
  EXPECT_EQ(player.entries, Calls{"B"});
  EXPECT_EQ(scene.os.CallsStartingWith({"PostMessage"}), Calls{RefreshCall()});
}

// The front end knows its player only through the Player interface: over the fake
// player itself, with no window in between, batches and commands do the same.
TEST(FrontEndOverAnyPlayerTest, EditsAndPlaysThroughThePlayerInterfaceAlone) {
  test::PluginScene scene;
  scene.Configure("", "");
  TPluginState state(scene.os);
  WindowedHost host(scene.os);
  Plugin plugin(scene.os, state, scene.player, host);
  scene.player.entries = {"A", "B", "C"};
  scene.player.position = 2;
  plugin.FsInit();
  plugin.FsStatusInfo(kStart, wfx::kOpDelete);
  plugin.FsDeleteFile("\\B");
  plugin.FsStatusInfo(kEnd, wfx::kOpDelete);
  EXPECT_EQ(scene.player.entries, (Calls{"A", "C"}));
  EXPECT_EQ(scene.player.position, 1);
  TFindData record{};
  ASSERT_EQ(plugin.FsFindFirst("\\", record), wfx::kSearchHandle);
  plugin.FsFindClose();
  EXPECT_EQ(plugin.FsExecuteFile("\\C", wfx::kVerbOpen), wfx::kExecOk);
  EXPECT_EQ(scene.player.position, 1);
  EXPECT_TRUE(scene.player.playing);
  EXPECT_EQ(scene.player.writesWhileOpen, 0);
  EXPECT_EQ(scene.os.CallsStartingWith({"SendMessage", "RunCommandLine"}), Calls{});
}

}  // namespace
}  // namespace plenvox
