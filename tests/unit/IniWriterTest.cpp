#include "settings/IniWriter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "config/Settings.h"
#include "settings/WholeFile.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using test::FakePlatform;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(IniWriterTest, NewTextGetsSectionsInOrderOfFirstUse) {
  const std::string text = ApplyIniAssignments(
      "", {{"Path", "WinampFolder", "C:\\W\\"}, {"Mode", "DisplayMode", "2"}, {"Path", "Editor", ""}});
  EXPECT_EQ(text, "[Path]\r\nWinampFolder=C:\\W\\\r\nEditor=\r\n\r\n[Mode]\r\nDisplayMode=2\r\n");
}

TEST(IniWriterTest, ExistingTextKeepsEverythingItDoesNotAssign) {
  const std::string before =
      "; written by hand\n"
      "[path]\n"
      "  winampfolder = D:\\Old\\  \n"
      "Other=kept\n"
      "\n"
      "[Mode]\n"
      "DisplayMode=0\n"
      "\n"
      "[Extra]\n"
      "Key=value\n";
  const std::string after = ApplyIniAssignments(
      before, {{"Path", "WinampFolder", "E:\\New\\"}, {"Path", "Editor", "ed.exe"},
               {"Mode", "BlockDead", "0"}, {"Last", "Key", "1"}});
  EXPECT_EQ(after,
            "; written by hand\r\n"
            "[path]\r\n"
            "WinampFolder=E:\\New\\\r\n"
            "Other=kept\r\n"
            "Editor=ed.exe\r\n"
            "\r\n"
            "[Mode]\r\n"
            "DisplayMode=0\r\n"
            "BlockDead=0\r\n"
            "\r\n"
            "[Extra]\r\n"
            "Key=value\r\n"
            "\r\n"
            "[Last]\r\n"
            "Key=1\r\n");
}

TEST(IniWriterTest, OnlyTheFirstSectionOfTheNameAndTheFirstEntryAreRewritten) {
  const std::string after = ApplyIniAssignments(
      "[Mode]\r\nDisplayMode=0\r\nDisplayMode=5\r\n[Mode]\r\nDisplayMode=7\r\n",
      {{"Mode", "DisplayMode", "2"}});
  EXPECT_EQ(after, "[Mode]\r\nDisplayMode=2\r\nDisplayMode=5\r\n[Mode]\r\nDisplayMode=7\r\n");
}

TEST(IniWriterTest, CommentedOutKeyIsNotTheKey) {
  const std::string after =
      ApplyIniAssignments("[Mode]\n;ExtFilter=wav\n", {{"Mode", "ExtFilter", "mp3:ogg"}});
  EXPECT_EQ(after, "[Mode]\r\n;ExtFilter=wav\r\nExtFilter=mp3:ogg\r\n");
}

// What the plug-in's loader reads back from a written file is exactly what was meant.
TEST(IniWriterTest, ValuesRoundTripThroughThePluginsLoader) {
  TempDir dir;
  const std::string ini = dir / "plenvox.ini";
  FakePlatform os;
  os.registryValue = RegistryValue{1, ini + '\0'};
  const std::string folder = "  \"C:\\Odd Folder\\\"  ";
  const std::string editor = "'%commander_path%\\ed.exe'";
  const std::string settingsProgram = "\"half";
  const std::string filter = " mp3:\"ogg\" ";
  WriteFile(ini, ApplyIniAssignments("", {{"Path", "WinampFolder", folder},
                                          {"Path", "Editor", editor},
                                          {"Path", "Settings", settingsProgram},
                                          {"Mode", "DisplayMode", "0"},
                                          {"Mode", "ExtFilter", filter},
                                          {"Mode", "BlockDead", "0"}}));
  TSettings loaded;
  LoadSettings(os, "c:\\tc", loaded);
  EXPECT_EQ(loaded.WinampFolder, folder);
  EXPECT_EQ(loaded.WinampExe, folder + "winamp.exe");
  EXPECT_EQ(loaded.Editor, "'c:\\tc\\ed.exe'");
  EXPECT_EQ(loaded.SettingsProgram, settingsProgram);
  EXPECT_EQ(loaded.DisplayMode, TDisplayMode::NameOnly);
  EXPECT_EQ(loaded.ExtFilter, u" mp3:\"ogg\" ");
  EXPECT_FALSE(loaded.BlockDead);
  EXPECT_TRUE(loaded.DisableMulti);
}

TEST(IniWriterTest, EmptyFilterIsWrittenAndReadAsEmpty) {
  TempDir dir;
  const std::string ini = dir / "plenvox.ini";
  FakePlatform os;
  os.registryValue = RegistryValue{1, ini + '\0'};
  WriteFile(ini, ApplyIniAssignments("", {{"Mode", "ExtFilter", ""}}));
  TSettings loaded;
  LoadSettings(os, "", loaded);
  EXPECT_EQ(loaded.ExtFilter, u"");
}

class AtomicWriteTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFile(path, "old settings"); }
  bool Write(const std::string& bytes) { return WriteFileAtomically(os, path, bytes, error); }
  TempDir dir;
  std::string path = dir / "plenvox.ini";
  FakePlatform os;
  std::uint32_t error = 0;
};

TEST_F(AtomicWriteTest, ReplacesTheFileThroughATemporaryBesideIt) {
  ASSERT_TRUE(Write("new settings"));
  EXPECT_EQ(ReadFile(path), "new settings");
  EXPECT_FALSE(test::Exists(TemporaryBeside(path)));
  EXPECT_EQ(os.CallsStartingWith({"CreateWrite", "Move"}),
            (std::vector<std::string>{"CreateWrite(" + TemporaryBeside(path) + ")",
                                      "MoveReplacing(" + TemporaryBeside(path) + ", " + path + ")"}));
}

TEST_F(AtomicWriteTest, FailedStepLeavesTheOldFileWholeAndNoTemporary) {
  for (const char* op : {"create", "write", "close", "move"}) {
    FakePlatform failing;
    failing.FailOn(op, "plenvox.ini", kErrorWriteFault);
    std::uint32_t code = 0;
    EXPECT_FALSE(WriteFileAtomically(failing, path, "new settings", code)) << op;
    EXPECT_EQ(code, kErrorWriteFault) << op;
    EXPECT_EQ(ReadFile(path), "old settings") << op;
    EXPECT_FALSE(test::Exists(TemporaryBeside(path))) << op;
  }
}

TEST_F(AtomicWriteTest, ReadOnlyFileIsRefusedBeforeAnythingIsWritten) {
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(Write("new settings"));
  EXPECT_EQ(error, kErrorAccessDenied);
  EXPECT_EQ(ReadFile(path), "old settings");
  EXPECT_TRUE(os.CallsStartingWith({"CreateWrite", "Move"}).empty());
}

TEST_F(AtomicWriteTest, UnwritableFolderFailsWithItsCode) {
  EXPECT_FALSE(WriteFileAtomically(os, dir / "missing/plenvox.ini", "x", error));
  EXPECT_EQ(error, kErrorFileNotFound);
}

TEST_F(AtomicWriteTest, ReadWholeFileTellsMissingFromFailed) {
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(os, path, bytes, error), ReadOutcome::Read);
  EXPECT_EQ(bytes, "old settings");
  EXPECT_EQ(ReadWholeFile(os, dir / "none.ini", bytes, error), ReadOutcome::Missing);
  EXPECT_EQ(bytes, "");
  os.FailOn("read", "plenvox.ini", kErrorReadFault);
  EXPECT_EQ(ReadWholeFile(os, path, bytes, error), ReadOutcome::Failed);
  EXPECT_EQ(error, kErrorReadFault);
}

}  // namespace
}  // namespace plenvox
