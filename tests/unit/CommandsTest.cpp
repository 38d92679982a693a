#include <gtest/gtest.h>

#include "plugin/HostInterface.h"
#include "support/PluginScene.h"

namespace plenvox {
namespace {

using test::Calls;
using test::CloseCall;
using test::OpenCall;
using test::Send;
using test::WritePlaylistCall;

constexpr const char* kEditor = "C:\\Tools\\tagger.exe";
constexpr const char* kSettingsProgram = "C:\\Tools\\setup.exe";

std::string BrowseCall() {
  return "BrowseForFolder(" + std::to_string(test::PluginScene::kHost) + ", Save playlist)";
}

class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest() {
    Configure(true);
    player.entries = {"A", "X", "B", "X"};
    scene.ListRoot();
  }
  void Configure(bool settingsProgram) {
    scene.Configure(std::string("Editor=") + kEditor + "\nSettings=" +
                        (settingsProgram ? kSettingsProgram : ""),
                    "");
  }
  int Execute(const std::string& remoteName, const std::string& verb) {
    return plugin.FsExecuteFile(remoteName, verb);
  }
  std::string CopyCall(const std::string& target) {
    return "CopyFile(" + scene.PlaylistPath() + ", " + target + ", replace)";
  }

  test::PluginScene scene;
  test::FakePlayer& player = scene.player;
  Plugin& plugin = scene.plugin;
};

TEST_F(CommandsTest, WithoutValidSettingsEveryVerbGivesOneAndDoesNothing) {
  scene.os.registryValue.reset();
  scene.Configure("", "");
  ASSERT_FALSE(plugin.Settings().Valid);
  for (const char* verb : {"open", "properties", "save", "quote save", "Open", "", "chmod 777"}) {
    for (const char* name : {"\\", "\\A"}) {
      EXPECT_EQ(Execute(name, verb), wfx::kExecError) << verb << " on " << name;
    }
  }
  EXPECT_EQ(scene.os.CallsWithoutLookups(), Calls{});
}

// --- Save ---------------------------------------------------------------------

struct SaveVerbCase {
  const char* verb;
  bool saves;
};

class SaveVerbTest : public CommandsTest, public ::testing::WithParamInterface<SaveVerbCase> {};

TEST_P(SaveVerbTest, OnlyTheSaveCommandOpensThePicker) {
  scene.os.folderChoice = "C:\\Lists";
  scene.os.FailOn("copy", "C:\\Lists");  // no stray file in the working folder
  EXPECT_EQ(Execute("\\", GetParam().verb), wfx::kExecOk);
  const Calls expected = GetParam().saves ? Calls{BrowseCall()} : Calls{};
  EXPECT_EQ(scene.os.CallsStartingWith({"BrowseForFolder"}), expected);
}

INSTANTIATE_TEST_SUITE_P(Verbs, SaveVerbTest,
                         ::testing::Values(SaveVerbCase{"quote save", true},
                                           SaveVerbCase{"Quote SAVE", true},
                                           SaveVerbCase{"save", true}, SaveVerbCase{"SaVe", true},
                                           SaveVerbCase{"quote  save", false},
                                           SaveVerbCase{"quote save ", false},
                                           SaveVerbCase{"quote saved", false},
                                           SaveVerbCase{"quote", false}));

TEST_F(CommandsTest, SaveCopiesThePlaylistIntoTheChosenFolder) {
  scene.os.folderChoice = "C:\\Lists";
  scene.os.FailOn("copy", "C:\\Lists");
  EXPECT_EQ(Execute("\\", "quote save"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsWithoutLookups(), (Calls{WritePlaylistCall(), BrowseCall(),
                                   CopyCall("C:\\Lists\\Plenvox.m3u"),
                                   // the folder's own step, which the verb goes on to
                                   WritePlaylistCall()}));
}

TEST_F(CommandsTest, SaveToADriveRootAddsNoSecondBackslash) {
  scene.os.folderChoice = "C:\\";
  scene.os.FailOn("copy", "C:\\");
  EXPECT_EQ(Execute("\\", "save"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsStartingWith({"CopyFile"}), Calls{CopyCall("C:\\Plenvox.m3u")});
}

TEST_F(CommandsTest, SaveReplacesAnExistingFile) {
  // A folder whose path ends with a backslash, inside the test's folder on this system.
  scene.os.folderChoice = scene.dir.Path() + "/Lists\\";
  const std::string target = scene.dir.Path() + "/Lists\\Plenvox.m3u";
  test::WriteFile(target, "an older playlist");
  EXPECT_EQ(Execute("\\", "quote save"), wfx::kExecOk);
  EXPECT_EQ(test::ReadFile(target), test::ReadFile(scene.PlaylistPath()));
  EXPECT_NE(test::ReadFile(target).find("\r\nB\r\n"), std::string::npos);
}

TEST_F(CommandsTest, CancelledPickerCopiesNothing) {
  scene.os.folderChoice.reset();
  EXPECT_EQ(Execute("\\", "quote save"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsWithoutLookups(), (Calls{WritePlaylistCall(), BrowseCall(), WritePlaylistCall()}));
}

TEST_F(CommandsTest, PickerAnswerWithoutAPathCountsAsCancelled) {
  scene.os.folderChoice = "";
  EXPECT_EQ(Execute("\\", "quote save"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsStartingWith({"CopyFile"}), Calls{});
}

// --- The folder ----------------------------------------------------------------

TEST_F(CommandsTest, PropertiesOfTheFolderStartTheSettingsProgram) {
  EXPECT_EQ(Execute("\\", "properties"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsWithoutLookups(),
            (Calls{WritePlaylistCall(), "StartProgram(" + std::string(kSettingsProgram) + ", )"}));
}

TEST_F(CommandsTest, PropertiesOfTheFolderWithoutASettingsProgramFail) {
  Configure(false);
  EXPECT_EQ(Execute("\\", "properties"), wfx::kExecError);
  EXPECT_EQ(scene.os.CallsWithoutLookups(), Calls{WritePlaylistCall()});
}

// --- Entries -------------------------------------------------------------------

TEST_F(CommandsTest, OpenPlaysTheFirstEntryWithThatPath) {
  EXPECT_EQ(Execute("\\X", "open"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsWithoutLookups(),
            (Calls{WritePlaylistCall(), OpenCall(scene.PlaylistPath()),
                   CloseCall(scene.PlaylistPath()), Send(1024, 1, 121), Send(273, 40047, 0),
                   Send(273, 40045, 0)}));
  EXPECT_EQ(player.position, 1);
  EXPECT_FALSE(plugin.Playlist().IsOpen());
}

TEST_F(CommandsTest, OpenOfANameNotInThePlaylistSendsMinusOne) {
  EXPECT_EQ(Execute("\\x", "open"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsStartingWith({"SendMessage"}),
            (Calls{WritePlaylistCall(), Send(1024, -1, 121), Send(273, 40047, 0),
                   Send(273, 40045, 0)}));
}

TEST_F(CommandsTest, OpenFindsAnEntryWithALongPath) {
  const std::string longPath = "C:\\" + std::string(300, 'l') + ".mp3";
  player.entries = {"A", longPath};
  // The backslash goes first, then the name is cut to the 255 characters a line reads as.
  EXPECT_EQ(Execute("\\" + longPath, "open"), wfx::kExecOk);
  EXPECT_EQ(player.position, 1);
}

TEST_F(CommandsTest, OpenWithAnUnreadablePlaylistSendsNothingMore) {
  for (const char* op : {"open", "read"}) {
    test::PluginScene fresh;
    fresh.Configure("", "");
    fresh.ListRoot();
    fresh.os.FailOn(op, "winamp.m3u");
    EXPECT_EQ(fresh.plugin.FsExecuteFile("\\A", "open"), wfx::kExecOk) << op;
    EXPECT_EQ(fresh.os.CallsStartingWith({"SendMessage"}), Calls{WritePlaylistCall()}) << op;
    EXPECT_FALSE(fresh.plugin.Playlist().IsOpen()) << op;
  }
}

TEST_F(CommandsTest, PropertiesOfAnEntryStartTheEditorWithTheNameAsPassed) {
  EXPECT_EQ(Execute("\\D:\\Music\\a b.mp3", "properties"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsWithoutLookups(),
            Calls{"StartProgram(" + std::string(kEditor) + ", \\D:\\Music\\a b.mp3)"});
}

TEST_F(CommandsTest, VerbsAreComparedExactly) {
  for (const char* verb : {"Open", "OPEN", "Properties", "open ", "quote open", "edit"}) {
    EXPECT_EQ(Execute("\\A", verb), wfx::kExecOk) << verb;
  }
  EXPECT_EQ(scene.os.CallsWithoutLookups(), Calls{});
}

TEST_F(CommandsTest, EntryCommandsNeedTheLastListingToBeOfTheRoot) {
  TFindData record{};
  plugin.FsFindFirst("\\sub", record);
  scene.os.calls.clear();
  EXPECT_EQ(Execute("\\A", "open"), wfx::kExecOk);
  EXPECT_EQ(Execute("\\A", "properties"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsWithoutLookups(), Calls{});
  // The folder's own commands do not depend on it.
  EXPECT_EQ(Execute("\\", "properties"), wfx::kExecOk);
  EXPECT_EQ(scene.os.CallsStartingWith({"StartProgram"}),
            Calls{"StartProgram(" + std::string(kSettingsProgram) + ", )"});
}

}  // namespace
}  // namespace plenvox
