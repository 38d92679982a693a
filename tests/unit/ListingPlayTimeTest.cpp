// Display mode 2: each item carries its file's record with the play time, in whole
// seconds, in the size fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "AudioBytes.h"
#include "plugin/WindowsEdition.h"
#include "plugin/HostInterface.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using namespace test;

constexpr const char* kIni = "C:\\plenvox.ini";

TFindData HostRecord() {
  TFindData record;
  std::memset(&record, 0x5A, sizeof record);
  return record;
}

class ListingPlayTimeTest : public ::testing::Test {
 protected:
  ListingPlayTimeTest() {
    os.registryValue = RegistryValue{1, std::string(kIni) + '\0'};
    os.iniFiles[kIni] = "[Path]\nWinampFolder=" + dir.Path() + "/\n[Mode]\nDisplayMode=2\n";
  }
  // Lists the playlist of the given entries and returns the records.
  std::vector<TFindData> List(const std::vector<std::string>& entries) {
    std::string playlist = "#EXTM3U\r\n";
    for (const auto& entry : entries) playlist += entry + "\r\n";
    WriteFile(dir / "winamp.m3u", playlist);
    std::vector<TFindData> records(1, HostRecord());
    if (plugin.FsFindFirst("\\", records.back()) != wfx::kSearchHandle) return {};
    for (records.push_back(HostRecord()); plugin.FsFindNext(records.back()); records.push_back(HostRecord())) {
    }
    records.pop_back();
    plugin.FsFindClose();
    return records;
  }
  // The file's own record as the listing must show it, with the size fields given.
  TFindData Expected(const std::string& path, std::uint32_t seconds) {
    TFindData record = HostRecord();
    TFileRecord file;
    EXPECT_TRUE(os.FindFile(path, file)) << path;
    record.FileAttributes = file.FileAttributes;
    record.CreationTime = file.CreationTime;
    record.LastAccessTime = file.LastAccessTime;
    record.LastWriteTime = file.LastWriteTime;
    record.Reserved0 = file.Reserved0;
    record.Reserved1 = file.Reserved1;
    // The POSIX look-up gives no short name: its terminating zero is all that is written.
    record.AlternateFileName[0] = '\0';
    record.FileSizeHigh = 0;
    record.FileSizeLow = seconds;
    std::memset(record.FileName, 0, sizeof record.FileName);
    std::memcpy(record.FileName, path.data(), path.size());
    return record;
  }
  static void ExpectSameRecord(const TFindData& actual, const TFindData& expected) {
    EXPECT_EQ(actual.FileSizeHigh, expected.FileSizeHigh);
    EXPECT_EQ(actual.FileSizeLow, expected.FileSizeLow);
    EXPECT_EQ(actual.FileAttributes, expected.FileAttributes);
    EXPECT_STREQ(actual.FileName, expected.FileName);
    // Everything up to the name, and the short name, are the file's.
    EXPECT_EQ(std::memcmp(&actual, &expected, offsetof(TFindData, FileName)), 0);
    EXPECT_EQ(std::memcmp(actual.AlternateFileName, expected.AlternateFileName, 14), 0);
  }
  TempDir dir;
  FakePlatform os;
  WindowsEdition edition{os};
  Plugin& plugin = edition.plugin;
};

TEST_F(ListingPlayTimeTest, SizeLowIsThePlayTimeTruncated) {
  // 128 kbit/s frames: 40 frames and an ID3v1 tag are 1.0425 seconds of audio; 300
  // frames 7.81875 seconds.
  const std::string shortSong = dir / "short.mp3";
  WriteFile(shortSong, Repeat(MpegFrame(kMpeg1Header, 417), 40) + Id3v1Block("Short"));
  const std::string longSong = dir / "long.mp3";
  WriteFile(longSong, Id3v2Tag(3, Zeros(500)) + Repeat(MpegFrame(kMpeg1Header, 417), 300));
  // A VBR file of 10000 frames: 261.22 seconds whatever its length.
  std::string first = MpegFrame(kMpeg1Header, 417);
  first.replace(36, 12, "Xing" + Zeros(4) + BigEndianBytes(10000, 4));
  const std::string vbrSong = dir / "vbr.mp3";
  WriteFile(vbrSong, first + Repeat(MpegFrame(kMpeg1Header, 417), 10));

  // The files' records as the listing finds them, before it reads them.
  const TFindData expected[] = {Expected(shortSong, 1), Expected(longSong, 7), Expected(vbrSong, 261)};
  const auto records = List({shortSong, longSong, vbrSong});
  ASSERT_EQ(records.size(), 3u);
  for (std::size_t i = 0; i < records.size(); ++i) ExpectSameRecord(records[i], expected[i]);
}

TEST_F(ListingPlayTimeTest, CorpusFileListsItsPlayTime) {
  // 72243 frames of 1152 samples at 44100 Hz in its Xing header: 1887.16 seconds.
  const std::string song = std::string(PLENVOX_CORPUS_DIR) + "/taglib_lame_vbr.mp3";
  if (!Exists(song)) GTEST_SKIP() << "no corpus file " << song;
  const TFindData expected = Expected(song, 1887);
  const auto records = List({song});
  ASSERT_EQ(records.size(), 1u);
  ExpectSameRecord(records[0], expected);
}

TEST_F(ListingPlayTimeTest, FileWithoutAudioListsZero) {
  const std::string text = dir / "notes.mp3";
  WriteFile(text, std::string(9000, 'n'));
  const std::string tiny = dir / "tiny.mp3";
  WriteFile(tiny, "ID3");
  const TFindData expected[] = {Expected(text, 0), Expected(tiny, 0)};
  const auto records = List({text, tiny});
  ASSERT_EQ(records.size(), 2u);
  ExpectSameRecord(records[0], expected[0]);
  ExpectSameRecord(records[1], expected[1]);
}

TEST_F(ListingPlayTimeTest, MissingFileShowsNoFileAndAPlayTimeOfZero) {
  const std::string missing = dir / "gone.mp3";
  const auto records = List({missing});
  ASSERT_EQ(records.size(), 1u);
  TFindData expected{};
  expected.CreationTime = expected.LastAccessTime = expected.LastWriteTime = wfx::kNoFileTime;
  EXPECT_EQ(std::memcmp(&records[0], &expected, offsetof(TFindData, FileName)), 0);
  EXPECT_STREQ(records[0].FileName, missing.c_str());
  EXPECT_STREQ(records[0].AlternateFileName, "");
}

TEST_F(ListingPlayTimeTest, EveryAnalysedFileIsClosedBeforeTheNextItem) {
  const std::string song = dir / "song.mp3";
  const std::string other = dir / "other.mp3";
  WriteFile(song, Repeat(MpegFrame(kMpeg1Header, 417), 20));
  WriteFile(other, Repeat(MpegFrame(kMpeg1Header, 417), 30));
  ASSERT_EQ(List({song, other}).size(), 2u);
  const auto calls = os.CallsStartingWith({"OpenRead(" + dir.Path(), "Close(" + dir.Path()});
  // The playlist file's open and close stand around them; per item the analyser's one
  // open serves both tag readers.
  ASSERT_EQ(calls.size(), 6u);
  const auto first = std::find(calls.begin(), calls.end(), "OpenRead(" + other + ")");
  ASSERT_NE(first, calls.end());
  EXPECT_EQ(std::find(first, calls.end(), "OpenRead(" + song + ")"), calls.end())
      << "each item's file is read before the next item's";
  for (auto call = calls.begin() + 1; call + 1 < calls.end(); call += 2) {
    EXPECT_EQ(call->rfind("OpenRead(", 0), 0u) << *call;
    EXPECT_EQ((call + 1)->rfind("Close(", 0), 0u) << *(call + 1);
  }
}

TEST_F(ListingPlayTimeTest, UnchangedFilesAreNotAnalysedAgainChangedOnesAre) {
  const std::string song = dir / "song.mp3";
  const std::string other = dir / "other.mp3";
  WriteFile(song, Repeat(MpegFrame(kMpeg1Header, 417), 20));
  WriteFile(other, Repeat(MpegFrame(kMpeg1Header, 417), 30));
  ASSERT_EQ(List({song, other, song}).size(), 3u);
  WriteFile(other, Repeat(MpegFrame(kMpeg1Header, 417), 300));  // another size
  os.calls.clear();
  const auto records = List({song, other});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].FileSizeLow, 7u);
  EXPECT_TRUE(os.CallsStartingWith({"OpenRead(" + song}).empty()) << "unchanged: no second analysis";
  EXPECT_FALSE(os.CallsStartingWith({"OpenRead(" + other}).empty()) << "changed: analysed again";
}

}  // namespace
}  // namespace plenvox
