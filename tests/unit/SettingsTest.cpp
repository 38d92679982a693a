#include "config/Settings.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace plenvox {
namespace {

using test::FakePlatform;

constexpr const char* kIni = "C:\\Settings\\plenvox.ini";

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    os.environment["TEMP"] = "C:\\Temp";
    os.registryValue = RegistryValue{1, std::string(kIni) + '\0'};
  }
  void Ini(const std::string& text) { os.iniFiles[kIni] = text; }
  TSettings Load(const std::string& commanderPath = "c:\\host") {
    TSettings settings;
    LoadSettings(os, commanderPath, settings);
    return settings;
  }
  FakePlatform os;
};

TEST_F(SettingsTest, WithoutRegistryValueEveryKeyTakesItsDefault) {
  os.registryValue.reset();
  const TSettings s = Load();
  EXPECT_FALSE(s.Valid);
  EXPECT_EQ(s.DisplayMode, TDisplayMode::FileData);
  EXPECT_EQ(s.ExtFilter, u"mp3");
  EXPECT_TRUE(s.BlockDead);
  EXPECT_TRUE(s.DisableMulti);
  EXPECT_EQ(s.WinampFolder, "");
  EXPECT_EQ(s.Editor, "");
  EXPECT_EQ(s.SettingsProgram, "");
  EXPECT_EQ(s.WinampExe, "winamp.exe");
  EXPECT_EQ(s.WinampPlaylist, "winamp.m3u");
  EXPECT_EQ(s.TempPlaylist, "C:\\Temp\\temp.m3u");
}

TEST_F(SettingsTest, MissingOrUnreadableIniFileGivesDefaults) {
  // Not scripted and not on disk: the reader falls back to every default.
  os.registryValue = RegistryValue{1, std::string("/nonexistent/plenvox.ini") + '\0'};
  const TSettings s = Load();
  EXPECT_FALSE(s.Valid);
  EXPECT_EQ(s.DisplayMode, TDisplayMode::FileData);
  EXPECT_EQ(s.ExtFilter, u"mp3");
}

struct RegistryCase {
  const char* name;
  std::uint32_t type;
  std::string data;
  std::string expected;
};

class RegistryValueTest : public SettingsTest,
                          public ::testing::WithParamInterface<RegistryCase> {};

TEST_P(RegistryValueTest, NamesTheIniFile) {
  os.registryValue = RegistryValue{GetParam().type, GetParam().data};
  EXPECT_EQ(ReadIniFileName(os), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, RegistryValueTest,
    ::testing::Values(RegistryCase{"sz", 1, std::string("C:\\a.ini") + '\0', "C:\\a.ini"},
                      RegistryCase{"expandUsedAsStored", 2, std::string("%APPDATA%\\a.ini") + '\0',
                                   "%APPDATA%\\a.ini"},
                      RegistryCase{"dword", 4, std::string("\1\0\0\0", 4), ""},
                      RegistryCase{"binary", 3, std::string("C:\\a.ini") + '\0', ""},
                      RegistryCase{"onlyTheZero", 1, std::string(1, '\0'), ""},
                      RegistryCase{"empty", 1, "", ""},
                      // The stored size decides, not the first zero.
                      RegistryCase{"withoutZero", 1, "C:\\a.inix", "C:\\a.ini"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SettingsTest, FolderIsJoinedWithoutSeparator) {
  Ini("[Path]\nWinampFolder=D:\\Player\n");
  EXPECT_EQ(Load().WinampExe, "D:\\Playerwinamp.exe");
  Ini("[Path]\nWinampFolder=D:\\Player\\\n");
  const TSettings s = Load();
  EXPECT_TRUE(s.Valid);
  EXPECT_EQ(s.WinampExe, "D:\\Player\\winamp.exe");
  EXPECT_EQ(s.WinampPlaylist, "D:\\Player\\winamp.m3u");
}

TEST_F(SettingsTest, CommanderPathPlaceholderIsReplacedWithCase) {
  os.environment["commander_path"] = "C:\\Host";
  const std::string commanderPath = CaptureCommanderPath(os);
  EXPECT_EQ(commanderPath, "c:\\host");
  Ini("[path]\nwinampfolder=%commander_path%\\Player\\\n"
      "Editor=%COMMANDER_PATH%\\ed.exe\nSettings=%commander_path%%commander_path%\n");
  const TSettings s = Load(commanderPath);
  EXPECT_EQ(s.WinampFolder, "c:\\host\\Player\\");
  EXPECT_EQ(s.Editor, "%COMMANDER_PATH%\\ed.exe");
  EXPECT_EQ(s.SettingsProgram, "c:\\hostc:\\host");
}

TEST_F(SettingsTest, PlaceholderAloneWithoutVariableIsNotValid) {
  Ini("[Path]\nWinampFolder=%commander_path%\n");
  const TSettings s = Load(CaptureCommanderPath(os));
  EXPECT_EQ(s.WinampFolder, "");
  EXPECT_FALSE(s.Valid);
}

TEST_F(SettingsTest, CommanderPathLongerThanItsBufferCountsAsUnset) {
  os.environment["commander_path"] = std::string(260, 'A');
  EXPECT_EQ(CaptureCommanderPath(os), "");
  os.environment["commander_path"] = "C:\\" + std::string(256, 'B');
  EXPECT_EQ(CaptureCommanderPath(os), "c:\\" + std::string(256, 'b'));
}

TEST_F(SettingsTest, PathValuesAreCutBeforeAndAfterReplacement) {
  Ini("[Path]\nWinampFolder=" + std::string(300, 'a') + "\n");
  EXPECT_EQ(Load().WinampFolder, std::string(255, 'a'));
  Ini("[Path]\nWinampFolder=" + std::string(250, 'f') + "\n");
  EXPECT_EQ(Load().WinampExe, std::string(250, 'f') + "winam");
  // The placeholder at 250 is cut through by the first cut and stays as text.
  Ini("[Path]\nEditor=" + std::string(250, 'e') + "%commander_path%\n");
  EXPECT_EQ(Load("c:\\h").Editor, std::string(250, 'e') + "%comm");
  // Replacement that grows past 255 is cut again.
  Ini("[Path]\nEditor=" + std::string(239, 'e') + "%commander_path%\n");
  EXPECT_EQ(Load(std::string(40, 'x')).Editor, std::string(239, 'e') + std::string(16, 'x'));
}

struct ModeCase {
  const char* value;
  int expected;
};

void PrintTo(const ModeCase& c, std::ostream* out) { *out << '"' << c.value << '"'; }

class DisplayModeTest : public SettingsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(DisplayModeTest, ReadsLowByteOrDefault) {
  Ini(std::string("[Mode]\nDisplayMode=") + GetParam().value + "\n");
  EXPECT_EQ(static_cast<int>(Load().DisplayMode), GetParam().expected) << "value '" << GetParam().value << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Values, DisplayModeTest,
    ::testing::Values(ModeCase{"0", 0}, ModeCase{"2", 2}, ModeCase{"0x2", 2}, ModeCase{"0X2", 2},
                      ModeCase{"$2", 2}, ModeCase{"x2", 2}, ModeCase{"X2", 2}, ModeCase{"258", 2},
                      ModeCase{"-1", 255}, ModeCase{"+3", 3}, ModeCase{"  2", 2},
                      ModeCase{"\"2\"", 2}, ModeCase{"$ff", 255}, ModeCase{"$FFFFFFFF", 255},
                      ModeCase{"2147483647", 255}, ModeCase{"-2147483648", 0},
                      ModeCase{"2147483648", 1}, ModeCase{"$100000000", 1},
                      ModeCase{"two", 1}, ModeCase{"2a", 1}, ModeCase{"", 1}, ModeCase{"0x", 1},
                      ModeCase{"$", 1}, ModeCase{"-", 1}, ModeCase{"2.0", 1}));

TEST_F(SettingsTest, SwitchesAreOnUnlessZero) {
  const std::pair<const char*, bool> cases[] = {
      {"0", false}, {"1", true}, {"-5", true}, {"false", true}, {"", true}, {"$0", false}};
  for (const auto& [value, on] : cases) {
    Ini(std::string("[Mode]\nBlockDead=") + value + "\nDisableMulti=" + value + "\n");
    const TSettings s = Load();
    EXPECT_EQ(s.BlockDead, on) << value;
    EXPECT_EQ(s.DisableMulti, on) << value;
  }
}

TEST_F(SettingsTest, ExtFilterIsPlainTextAndKeepsAnEmptyValue) {
  Ini("[Mode]\nExtFilter=\n");
  EXPECT_EQ(Load().ExtFilter, u"");
  Ini("[Mode]\nExtFilter=MP3:%commander_path%\n");
  EXPECT_EQ(Load().ExtFilter, u"MP3:%commander_path%");
  const std::string long1000(1000, 'w');
  Ini("[Mode]\nExtFilter=" + long1000 + "\n");
  EXPECT_EQ(Load().ExtFilter, std::u16string(1000, u'w'));
}

TEST_F(SettingsTest, TempFolderGetsOneSeparator) {
  os.environment["TEMP"] = "C:\\Temp\\";
  EXPECT_EQ(Load().TempPlaylist, "C:\\Temp\\temp.m3u");
  os.environment.erase("TEMP");
  EXPECT_EQ(Load().TempPlaylist, "\\temp.m3u");
  os.environment["temp"] = std::string(260, 't');
  EXPECT_EQ(Load().TempPlaylist, "\\temp.m3u");
  os.environment["temp"] = std::string(250, 't');
  EXPECT_EQ(Load().TempPlaylist, std::string(250, 't') + "\\temp");
}

TEST_F(SettingsTest, EveryLoadOverwritesEveryField) {
  Ini("[Path]\nWinampFolder=D:\\P\\\nEditor=ed.exe\n[Mode]\nDisplayMode=0\nBlockDead=0\n");
  TSettings s;
  LoadSettings(os, "", s);
  EXPECT_EQ(s.Editor, "ed.exe");
  os.registryValue.reset();
  LoadSettings(os, "", s);
  EXPECT_EQ(s.Editor, "");
  EXPECT_EQ(s.DisplayMode, TDisplayMode::FileData);
  EXPECT_TRUE(s.BlockDead);
  EXPECT_FALSE(s.Valid);
}

}  // namespace
}  // namespace plenvox
