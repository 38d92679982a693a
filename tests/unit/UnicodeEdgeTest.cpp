// Where the scenarios cannot look: the choice of the playlist file, the folder read from
// the player's memory, and the conversions into the host's two records.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstring>

#include "player/WindowMessagePlayer.h"
#include "plugin/ListedItem.h"
#include "plugin/PlaylistChoice.h"
#include "support/FakePlatform.h"
#include "support/FakePlayer.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using test::FakePlatform;
using test::TempDir;

// --- The choice of the playlist file ---------------------------------------------------

struct ChoiceCase {
  const char* what;
  int ansiAge;     // seconds before now; -1: no such file
  int unicodeAge;
  TTextEncoding expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.what; }

class PlaylistChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

void WriteAged(const std::string& path, int age) {
  if (age < 0) return;
  test::WriteFile(path, "#EXTM3U\r\n");
  const time_t when = time(nullptr) - age;
  const utimbuf times{when, when};
  ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

TEST_P(PlaylistChoiceTest, TakesTheUtf8PlaylistWhenTheSameRequestWroteIt) {
  TempDir dir;
  WriteAged(dir / "winamp.m3u", GetParam().ansiAge);
  WriteAged(dir / "winamp.m3u8", GetParam().unicodeAge);
  FakePlatform os;
  const std::string folder = dir.Path() + "/";
  EXPECT_EQ(ChoosePlaylistEncoding(os, folder), GetParam().expected);
  EXPECT_EQ(os.TextEncoding(), TTextEncoding::Ansi) << "the encoding in force stays";
  EXPECT_EQ(os.calls.front(), "FindFile(" + dir.Path() + "/winamp.m3u8) [utf-8]");
}

INSTANTIATE_TEST_SUITE_P(
    Files, PlaylistChoiceTest,
    ::testing::Values(ChoiceCase{"both of one request", 10, 10, TTextEncoding::Utf8},
                      ChoiceCase{"the UTF-8 one newer", 20, 10, TTextEncoding::Utf8},
                      ChoiceCase{"a UTF-8 one left by an earlier player", 10, 5000, TTextEncoding::Ansi},
                      ChoiceCase{"the ANSI one alone", 10, -1, TTextEncoding::Ansi},
                      ChoiceCase{"the UTF-8 one alone", -1, 10, TTextEncoding::Utf8},
                      ChoiceCase{"neither", -1, -1, TTextEncoding::Ansi}));

// --- The folder that the player reports -------------------------------------------------

TEST(PlayerFolderTest, AnswersBelow65536AreNoAddresses) {
  for (const std::intptr_t answer : {0, 1, 65535, -1}) {
    EXPECT_EQ(PlayerMemoryAddress(answer), std::nullopt) << answer;
  }
  EXPECT_EQ(PlayerMemoryAddress(65536), std::uintptr_t{65536});
  if (sizeof(std::intptr_t) == 8) {
    // A 32-bit player's pointer above 2 GB, sign-extended on its way to a 64-bit caller.
    EXPECT_EQ(PlayerMemoryAddress(static_cast<std::intptr_t>(0xFFFFFFFF80001000ull)),
              std::uintptr_t{0x80001000u});
  }
}

TEST(PlayerFolderTest, AsksForUtf16ThenForAnsiTextInThePlayersMemory) {
  FakePlatform os;
  test::FakePlayer player(os, "winamp.exe", "unused.m3u");
  std::string program = "winamp.exe";
  WindowMessagePlayer link(os, program);
  EXPECT_EQ(link.PlaylistFolder(), std::nullopt) << "no player running: none started";
  EXPECT_TRUE(os.CallsWithoutLookups().empty());

  player.SetRunning(true);
  EXPECT_EQ(link.PlaylistFolder(), std::nullopt) << "a player that knows neither request";
  EXPECT_EQ(os.CallsWithoutLookups(), (std::vector<std::string>{"SendMessage(4097, 1024, 0, 338)",
                                                                "SendMessage(4097, 1024, 0, 337)"}));

  player.reportedFolder = u"C:\\Users\\\u0416\\AppData\\Winamp";
  os.calls.clear();
  EXPECT_EQ(link.PlaylistFolder(), player.reportedFolder);
  EXPECT_EQ(os.CallsWithoutLookups(),
            (std::vector<std::string>{"SendMessage(4097, 1024, 0, 338)",
                                      "ReadProcessText(4097, 5308416, 2)"}));

  // The UTF-16 text cannot be read (nothing at its address): the ANSI one is asked for.
  constexpr std::uintptr_t kNowhere = 0x530000;
  os.processMemory[test::FakePlayer::kFolderAddressA] = std::string("D:\\Winamp") + '\0';
  os.onSendMessage = [](WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t lParam) {
    return static_cast<std::intptr_t>(lParam == kPlayerPlaylistFolderW ? kNowhere
                                                                       : test::FakePlayer::kFolderAddressA);
  };
  os.calls.clear();
  EXPECT_EQ(link.PlaylistFolder(), std::u16string(u"D:\\Winamp"));
  EXPECT_EQ(os.CallsWithoutLookups(),
            (std::vector<std::string>{"SendMessage(4097, 1024, 0, 338)", "ReadProcessText(4097, 5439488, 2)",
                                      "SendMessage(4097, 1024, 0, 337)",
                                      "ReadProcessText(4097, 5373952, 1)"}));
}

// --- The host's records -----------------------------------------------------------------

template <typename Record>
Record Marked() {
  Record record;
  std::memset(&record, 0x5A, sizeof record);
  return record;
}

TListedItem NamedItem(const std::string& name) {
  TListedItem item;
  item.Written = TListedItem::kName | TListedItem::kSizes | TListedItem::kShortName;
  item.File.FileSizeLow = 7;
  item.File.AlternateFileName = "SHORT~1.MP3";
  item.Name = name;
  return item;
}

TEST(ItemRecordTest, TheUnicodeRecordTakesTheNameInUtf16CutAtAWholeCharacter) {
  FakePlatform os;
  // 258 units of "x", then an emoji (a surrogate pair): one unit more than fits.
  const std::string name = std::string(kWideNameMax - 1, 'x') + "\xF0\x9F\x8E\xB5";
  auto record = Marked<TFindDataW>();
  const auto passed = record;
  WriteItem(os, TTextEncoding::Utf8, NamedItem("P:\\\xD0\x96.mp3"), record);
  EXPECT_EQ(std::u16string(record.FileName), u"P:\\\u0416.mp3");
  EXPECT_EQ(std::u16string(record.AlternateFileName), u"SHORT~1.MP3");
  EXPECT_EQ(record.FileSizeLow, 7u);
  EXPECT_EQ(std::memcmp(&record, &passed, offsetof(TFindDataW, FileSizeHigh)), 0)
      << "what the item does not write stays as the host passed it";
  WriteItem(os, TTextEncoding::Utf8, NamedItem(name), record);
  EXPECT_EQ(std::u16string(record.FileName), Utf8ToUtf16(name).substr(0, kWideNameMax - 1))
      << "the pair that would not fit whole stays out";
}

TEST(ItemRecordTest, TheAnsiRecordTakesTheCoresAnsiTextAsItIs) {
  FakePlatform os;
  auto record = Marked<TFindData>();
  WriteItem(os, TTextEncoding::Ansi, NamedItem("C:\\caf\xE9.mp3"), record);
  EXPECT_STREQ(record.FileName, "C:\\caf\xE9.mp3");
  EXPECT_EQ(record.FileName[std::strlen(record.FileName) + 1], 0x5A) << "nothing behind the zero";
  EXPECT_STREQ(record.AlternateFileName, "SHORT~1.MP3");
}

}  // namespace
}  // namespace plenvox
