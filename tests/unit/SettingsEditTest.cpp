#include "settings/SettingsEdit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "settings/PlayerSearch.h"
#include "settings/SettingsCommands.h"
#include "settings/SettingsReport.h"
#include "settings/SettingsSave.h"
#include "settings/WholeFile.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using test::FakePlatform;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<IniAssignment> Requests(std::initializer_list<const char*> texts) {
  std::vector<IniAssignment> assignments;
  for (const char* text : texts) {
    IniAssignment assignment;
    std::string message;
    EXPECT_TRUE(ParseSetRequest(text, assignment, message)) << message;
    assignments.push_back(assignment);
  }
  return assignments;
}

TEST(SettingsEditTest, SetRequestsNameKnownKeysInAnyCase) {
  IniAssignment assignment;
  std::string message;
  ASSERT_TRUE(ParseSetRequest("path.winampfolder=C:\\A=B\\", assignment, message));
  EXPECT_EQ(assignment.Section, "Path");
  EXPECT_EQ(assignment.Key, "WinampFolder");
  EXPECT_EQ(assignment.Value, "C:\\A=B\\");
  ASSERT_TRUE(ParseSetRequest("Mode.ExtFilter=", assignment, message));
  EXPECT_EQ(assignment.Value, "");
  EXPECT_FALSE(ParseSetRequest("Mode.Colour=red", assignment, message));
  EXPECT_NE(message.find("Mode.DisableMulti"), std::string::npos) << message;
  EXPECT_FALSE(ParseSetRequest("WinampFolder", assignment, message));
}

class CheckTest : public ::testing::Test {
 protected:
  SettingsCheck Check(std::vector<IniAssignment>& assignments, const std::string& commanderPath = "") {
    return CheckAssignments(os, commanderPath, assignments);
  }
  TempDir dir;
  FakePlatform os;
};

TEST_F(CheckTest, PlayerFolderGetsItsSeparatorAndAWarningWithoutThePlayer) {
  auto assignments = Requests({"Path.WinampFolder=" "/nowhere/Player"});
  const auto check = Check(assignments);
  EXPECT_TRUE(check.Errors.empty());
  EXPECT_EQ(assignments[0].Value, "/nowhere/Player\\");
  ASSERT_EQ(check.Warnings.size(), 1u);
  EXPECT_NE(check.Warnings[0].find("winamp.exe"), std::string::npos);
}

TEST_F(CheckTest, PlayerFolderWithThePlayerPassesAfterPlaceholderReplacement) {
  WriteFile(dir / "winamp.exe", "MZ");
  auto assignments = Requests({"Path.WinampFolder=%commander_path%/"});
  const auto check = Check(assignments, dir.Path());
  EXPECT_TRUE(check.Errors.empty());
  EXPECT_TRUE(check.Warnings.empty());
  EXPECT_EQ(assignments[0].Value, "%commander_path%/");
}

struct RefusedCase {
  const char* name;
  std::string request;
  std::string commanderPath;
};

class RefusedTest : public CheckTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedTest, IsAnError) {
  auto assignments = Requests({GetParam().request.c_str()});
  EXPECT_EQ(Check(assignments, GetParam().commanderPath).Errors.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RefusedTest,
    ::testing::Values(
        RefusedCase{"emptyFolder", "Path.WinampFolder=", ""},
        // 245 characters and the separator: "winamp.exe" would be cut.
        RefusedCase{"folderTooLongForTheProgram", "Path.WinampFolder=" + std::string(245, 'f'), ""},
        RefusedCase{"folderTooLongOnceReplaced", "Path.WinampFolder=%commander_path%\\", std::string(245, 'c')},
        RefusedCase{"editorCut", "Path.Editor=" + std::string(256, 'e'), ""},
        RefusedCase{"settingsCutOnceReplaced", "Path.Settings=%commander_path%" + std::string(200, 's'), std::string(60, 'c')},
        RefusedCase{"filterBeyondTheReader", "Mode.ExtFilter=" + std::string(2048, 'x'), ""},
        RefusedCase{"modeThree", "Mode.DisplayMode=3", ""},
        RefusedCase{"modeWord", "Mode.DisplayMode=two", ""},
        RefusedCase{"switchWord", "Mode.BlockDead=maybe", ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(CheckTest, LongestAcceptedValuesPass) {
  auto assignments = Requests({});
  assignments.push_back({"Path", "WinampFolder", std::string(244, 'f') + "\\"});
  assignments.push_back({"Path", "Editor", std::string(255, 'e')});
  assignments.push_back({"Mode", "ExtFilter", std::string(2047, 'x')});
  EXPECT_TRUE(Check(assignments).Errors.empty());
}

TEST_F(CheckTest, LineBreakIsRefused) {
  std::vector<IniAssignment> assignments = {{"Path", "Editor", "a\r\nb"}};
  EXPECT_EQ(Check(assignments).Errors.size(), 1u);
}

TEST_F(CheckTest, ModesAndSwitchesAreStoredAsTheNumbersThePluginReads) {
  auto assignments = Requests({"Mode.DisplayMode=0x2", "Mode.BlockDead=false", "Mode.DisableMulti=On",
                               "Mode.BlockDead=-5"});
  EXPECT_TRUE(Check(assignments).Errors.empty());
  EXPECT_EQ(assignments[0].Value, "2");
  EXPECT_EQ(assignments[1].Value, "0");
  EXPECT_EQ(assignments[2].Value, "1");
  EXPECT_EQ(assignments[3].Value, "1");
}

TEST(SettingsFormTest, ShowsStoredPathsWithTheirPlaceholderAndTheRulesForTheRest) {
  FakePlatform os;
  os.iniFiles["s.ini"] =
      "[Path]\nWinampFolder=%commander_path%\\W\\\n[Mode]\nDisplayMode=$2\nBlockDead=false\nDisableMulti=0\n";
  const TSettingsForm form = ReadSettingsForm(os, "s.ini");
  EXPECT_EQ(form.WinampFolder, "%commander_path%\\W\\");
  EXPECT_EQ(form.DisplayMode, TDisplayMode::PlayTime);
  EXPECT_EQ(form.ExtFilter, "mp3");
  EXPECT_TRUE(form.BlockDead);  // the plug-in reads a word as on
  EXPECT_FALSE(form.DisableMulti);
}

TEST(SettingsFormTest, ModeOutsideTheThreeIsLeftAsStored) {
  FakePlatform os;
  os.iniFiles["s.ini"] = "[Mode]\nDisplayMode=7\n";
  const TSettingsForm form = ReadSettingsForm(os, "s.ini");
  EXPECT_FALSE(form.DisplayMode.has_value());
  for (const auto& assignment : FormAssignments(form)) EXPECT_NE(assignment.Key, "DisplayMode");
  EXPECT_EQ(FormAssignments(ReadSettingsForm(os, "")).size(), std::size(kSettingKeys));
}

class SaveTest : public ::testing::Test {
 protected:
  bool Save(const std::vector<IniAssignment>& assignments, const SettingsLocation& location) {
    return SaveSettings(os, location, assignments, message);
  }
  TSettings Loaded() {
    TSettings settings;
    LoadSettings(os, "", settings);
    return settings;
  }
  TempDir dir;
  std::string ini = dir / "plenvox.ini";
  FakePlatform os;
  std::string message;
};

TEST_F(SaveTest, LocationIsTheRegisteredFileOrAProposal) {
  os.environment["APPDATA"] = "C:\\Users\\u\\AppData\\Roaming\\";
  const SettingsLocation proposed = LocateSettings(os);
  EXPECT_EQ(proposed.IniPath, "C:\\Users\\u\\AppData\\Roaming\\Plenvox\\plenvox.ini");
  EXPECT_FALSE(proposed.Registered);
  os.environment.clear();
  EXPECT_EQ(LocateSettings(os).IniPath, "C:\\Host\\plugins\\plenvox.ini");
  os.registryValue = RegistryValue{1, std::string("D:\\my.ini") + '\0'};
  EXPECT_TRUE(LocateSettings(os).Registered);
  EXPECT_EQ(LocateSettings(os).IniPath, "D:\\my.ini");
}

TEST_F(SaveTest, NewFileGetsEveryKeyItsFolderAndTheRegistryValue) {
  const std::string fresh = dir / "new/plenvox.ini";
  ASSERT_TRUE(Save(Requests({"Path.WinampFolder=C:\\W\\", "Mode.DisplayMode=2"}), {fresh, false})) << message;
  EXPECT_EQ(os.CallsStartingWith({"CreateFolders"}),
            std::vector<std::string>{"CreateFolders(" + dir / "new" + ")"});
  EXPECT_EQ(os.CallsStartingWith({"WriteRegistry"}),
            std::vector<std::string>{"WriteRegistry(Software\\Orrery\\Plenvox2, IniFileName, " + fresh + ")"});
  os.registryValue = RegistryValue{1, fresh + '\0'};
  const TSettings s = Loaded();
  EXPECT_TRUE(s.Valid);
  EXPECT_EQ(s.WinampExe, "C:\\W\\winamp.exe");
  EXPECT_EQ(s.DisplayMode, TDisplayMode::PlayTime);
  // A new user gets every format that the folder reads proposed.
  EXPECT_EQ(s.ExtFilter, os.ToWide(os.TextEncoding(), kProposedExtFilter));
  EXPECT_EQ(s.TagCodePage, 0u);
  const std::string text = ReadFile(fresh);
  for (const auto& key : kSettingKeys) EXPECT_NE(text.find(std::string(key.Key) + "="), std::string::npos) << key.Key;
}

TEST_F(SaveTest, ExistingFileKeepsWhatIsNotAssignedAndTheRegistryIsLeftAlone) {
  WriteFile(ini, "[Path]\nWinampFolder=%commander_path%\\\n[Mode]\nDisplayMode=0\n");
  ASSERT_TRUE(Save(Requests({"Mode.ExtFilter=mp3:ogg"}), {ini, true})) << message;
  EXPECT_EQ(ReadFile(ini), "[Path]\r\nWinampFolder=%commander_path%\\\r\n[Mode]\r\nDisplayMode=0\r\nExtFilter=mp3:ogg\r\n");
  EXPECT_TRUE(os.CallsStartingWith({"WriteRegistry", "CreateFolders"}).empty());
}

TEST_F(SaveTest, FailedWriteChangesNothingAndSaysWhy) {
  WriteFile(ini, "[Mode]\nDisplayMode=0\n");
  os.FailOn("move", "plenvox.ini", kErrorAccessDenied);
  EXPECT_FALSE(Save(Requests({"Mode.DisplayMode=2"}), {ini, false}));
  EXPECT_EQ(message, "Cannot write " + ini + ": code 5 (error 5)");
  EXPECT_EQ(ReadFile(ini), "[Mode]\nDisplayMode=0\n");
  EXPECT_TRUE(os.CallsStartingWith({"WriteRegistry"}).empty());
}

TEST_F(SaveTest, UnreadableFileIsNotOverwritten) {
  WriteFile(ini, "[Mode]\nDisplayMode=0\n");
  os.FailOn("open", "plenvox.ini", kErrorAccessDenied);
  EXPECT_FALSE(Save(Requests({"Mode.DisplayMode=2"}), {ini, true}));
  EXPECT_EQ(os.CallsStartingWith({"CreateWrite"}).size(), 0u);
}

TEST_F(SaveTest, Utf16FileIsNotMergedInto) {
  const std::string utf16("\xFF\xFE[\0M\0o\0d\0e\0]\0", 14);
  WriteFile(ini, utf16);
  EXPECT_FALSE(Save(Requests({"Mode.DisplayMode=2"}), {ini, true}));
  EXPECT_NE(message.find("UTF-16"), std::string::npos) << message;
  EXPECT_EQ(ReadFile(ini), utf16);
}

TEST_F(SaveTest, RegistryFailureIsReportedAfterTheFileIsSaved) {
  os.FailOn("registry-write", "Plenvox2", kErrorAccessDenied);
  EXPECT_FALSE(Save(Requests({"Mode.DisplayMode=2"}), {ini, false}));
  EXPECT_NE(message.find("registry"), std::string::npos) << message;
  EXPECT_TRUE(test::Exists(ini));
}

TEST_F(SaveTest, SetCommandSavesWhatPassesAndRefusesTheRestWhole) {
  os.registryValue = RegistryValue{1, ini + '\0'};
  CommandOutput output;
  EXPECT_EQ(RunSetCommand(os, {"Path.WinampFolder=/nowhere", "Mode.BlockDead=off"}, output),
            kExitSuccess);
  EXPECT_NE(output.Error.find("warning: The player's program winamp.exe"), std::string::npos);
  EXPECT_EQ(output.Out, "Saved " + ini + "\r\n");
  const std::string saved = ReadFile(ini);
  EXPECT_FALSE(Loaded().BlockDead);

  CommandOutput refused;
  EXPECT_EQ(RunSetCommand(os, {"Mode.DisplayMode=0", "Mode.DisplayMode=9"}, refused), kExitFailure);
  EXPECT_NE(refused.Error.find("nothing was saved"), std::string::npos);
  CommandOutput unknown;
  EXPECT_EQ(RunSetCommand(os, {"Mode.DisplayMode=0", "Mode.Nope=1"}, unknown), kExitUsage);
  CommandOutput empty;
  EXPECT_EQ(RunSetCommand(os, {}, empty), kExitUsage);
  EXPECT_EQ(ReadFile(ini), saved);
}

TEST_F(SaveTest, SetCommandReportsAReadOnlyFileAndLeavesIt) {
  WriteFile(ini, "[Mode]\nDisplayMode=0\n");
  ASSERT_EQ(::chmod(ini.c_str(), 0444), 0);
  os.registryValue = RegistryValue{1, ini + '\0'};
  CommandOutput output;
  EXPECT_EQ(RunSetCommand(os, {"Mode.DisplayMode=2"}, output), kExitFailure);
  EXPECT_EQ(output.Error, "settings: Cannot write " + ini + ": code 5 (error 5)\r\n");
  EXPECT_EQ(ReadFile(ini), "[Mode]\nDisplayMode=0\n");
}

TEST_F(SaveTest, ShowCommandPrintsWhatThePluginLoads) {
  WriteFile(ini, "[Path]\nWinampFolder=%commander_path%\\W\\\n");
  os.registryValue = RegistryValue{1, ini + '\0'};
  os.environment["COMMANDER_PATH"] = "C:\\TC";
  CommandOutput output;
  EXPECT_EQ(RunShowCommand(os, output), kExitSuccess);
  EXPECT_NE(output.Out.find("Valid=true\r\nWinampFolder=c:\\tc\\W\\\r\n"), std::string::npos) << output.Out;
}

TEST(PlayerSearchTest, RegisteredProgramPathsGiveTheirFolders) {
  EXPECT_EQ(ProgramFolder("\"C:\\Program Files\\Winamp\\UninstWA.exe\" /S"), "C:\\Program Files\\Winamp\\");
  EXPECT_EQ(ProgramFolder("C:\\Program Files\\Winamp\\winamp.exe,0"), "C:\\Program Files\\Winamp\\");
  EXPECT_EQ(ProgramFolder("C:\\Program Files\\Winamp\\UNINSTWA.EXE /S"), "C:\\Program Files\\Winamp\\");
  EXPECT_EQ(ProgramFolder("winamp.exe"), "");
  EXPECT_EQ(ProgramFolder(""), "");
}

TEST(PlayerSearchTest, FirstCandidateHoldingThePlayerWins) {
  TempDir dir;
  FakePlatform os;
  os.environment["ProgramFiles"] = dir / "pf";
  os.environment["ProgramFiles(x86)"] = dir / "pf86";
  // HKEY_CURRENT_USER\Software\Winamp is the same key as the plug-in's here; the fake
  // answers every user value alike.
  os.registryValue = RegistryValue{1, dir / "user" + '\0'};
  os.machineStrings["Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp\\DisplayIcon"] =
      "\"" + dir / "uninst" + "\\winamp.exe\",0";
  EXPECT_EQ(PlayerFolderCandidates(os),
            (std::vector<std::string>{dir / "user\\", dir / "uninst\\", dir / "pf\\Winamp\\",
                                      dir / "pf86\\Winamp\\"}));
  EXPECT_EQ(FindPlayerFolder(os), "");
  // On this platform the backslash is part of the file's name, as the candidate spells it.
  WriteFile(dir / "uninst\\winamp.exe", "MZ");
  EXPECT_EQ(FindPlayerFolder(os), dir / "uninst\\");
}

TEST(PlayerSearchTest, FindsTheSettingsFolderOfAnInstalledPlayer) {
  FakePlatform os;
  const std::string player = "C:\\Program Files\\Winamp\\";
  const struct {
    const char* what;
    const char* pathsIni;  // nullptr: no paths.ini
    bool iniInApplicationData;
    const char* expected;
  } cases[] = {
      {"the installer's inidir", "[Winamp]\ninidir={26}\\Winamp\n", false, "C:\\Users\\u\\AppData\\Winamp\\"},
      {"an inidir of its own", "[Winamp]\ninidir=D:\\WA settings\n", true, "D:\\WA settings\\"},
      {"the program folder itself", "[Winamp]\ninidir=C:\\PROGRAM FILES\\Winamp\\\n", false, ""},
      {"no paths.ini, its winamp.ini in the application data", nullptr, true, "C:\\Users\\u\\AppData\\Winamp\\"},
      {"neither", nullptr, false, ""},
  };
  for (const auto& c : cases) {
    os.environment["APPDATA"] = "C:\\Users\\u\\AppData\\";
    os.iniFiles.clear();
    if (c.pathsIni) os.iniFiles[player + "paths.ini"] = c.pathsIni;
    TempDir dir;
    if (c.iniInApplicationData) {
      // On this platform the backslashes are part of the name of a file in the current folder.
      os.environment["APPDATA"] = dir / "AppData";
      WriteFile(dir / "AppData\\Winamp\\winamp.ini", "[Winamp]\n");
    }
    const std::string expected =
        c.iniInApplicationData && c.pathsIni == nullptr ? dir / "AppData\\Winamp\\" : c.expected;
    EXPECT_EQ(FindPlayerSettingsFolder(os, player), expected) << c.what;
  }
}

TEST(SettingsReportTest, ListsEveryFieldInTheRecordsOrder) {
  FakePlatform os;
  os.environment["TEMP"] = "C:\\T";
  TSettings settings;
  LoadSettings(os, "", settings);
  EXPECT_EQ(FormatSettings(os, settings),
            "Valid=false\r\nWinampFolder=\r\nPlaylistFolder=\r\nWinampExe=winamp.exe\r\n"
            "WinampPlaylist=winamp.m3u\r\n"
            "Editor=\r\nTempPlaylist=C:\\T\\temp.m3u\r\nSettingsProgram=\r\nDisplayMode=1\r\n"
            "ExtFilter=mp3\r\nBlockDead=true\r\nDisableMulti=true\r\nTagCodePage=0\r\nNumberCopies=false\r\n");
}

}  // namespace
}  // namespace plenvox
