// The audio readers on third-party files. Every pinned value below was read off the
// file's bytes by hand (hexdump of the named offsets), not taken from the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "audio/ID3v1.h"
#include "audio/ID3v2.h"
#include "audio/MPEGaudio.h"
#include "support/FakePlatform.h"

namespace plenvox {
namespace {

namespace fs = std::filesystem;

std::string CorpusFile(const std::string& name) { return std::string(PLENVOX_CORPUS_DIR) + "/" + name; }

class AudioCorpusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(PLENVOX_CORPUS_DIR)) GTEST_SKIP() << "no corpus at " PLENVOX_CORPUS_DIR;
  }
  test::FakePlatform os;
  TMPEGaudio audio{os};
};

TEST_F(AudioCorpusTest, EveryFileLoadsAndKeepsTheInvariants) {
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(PLENVOX_CORPUS_DIR)) {
    const std::string path = entry.path().string();
    const auto size = static_cast<std::int64_t>(entry.file_size());
    SCOPED_TRACE(path);
    ++files;
    const std::size_t opened = os.CallsStartingWith({"OpenRead("}).size();
    const bool loaded = audio.LoadFromFile(path);
    // One open serves both tag readers and the frame search.
    EXPECT_EQ(os.CallsStartingWith({"OpenRead("}).size(), opened + 1);
    const double seconds = audio.PlayTime();
    EXPECT_TRUE(std::isfinite(seconds));
    EXPECT_GE(seconds, 0.0);
    if (audio.Frame().Confirmed) {
      EXPECT_EQ(audio.FileLength(), size);
      EXPECT_LE(audio.ID3v2Tag().TagSize(), size);
      EXPECT_GE(audio.Frame().Offset, 0);
      EXPECT_LE(audio.Frame().Offset, static_cast<std::int32_t>(BlockSize - MaxFrameLength));
    } else {
      EXPECT_EQ(seconds, 0.0);
      EXPECT_EQ(audio.FileLength(), 0);
    }
    if (size < 128) {
      EXPECT_FALSE(loaded);
    }

    TID3v1 v1(os);
    EXPECT_EQ(v1.LoadFromFile(path), size >= 128);
    TID3v2 v2(os);
    EXPECT_EQ(v2.LoadFromFile(path), size >= 10);
    EXPECT_LE(v2.TagSize(), size);
  }
  EXPECT_GE(files, 60u);
}

// ID3v2.3 of 1007 bytes (size bytes 00 00 07 65) in UTF-16 with byte-order marks; the
// frame at 1007 is FF FB A1 04 (MPEG 1 Layer III, 160 kbit/s, 44100 Hz: 522 bytes,
// FF FA 11 44 at 1529); "VBRI" at 1007 + 36 with quality 0x64 at +9, byte count
// 00 62 DB 91 and frame count 00 00 21 3A (8506): 8506 x 1152 / 44100 seconds.
TEST_F(AudioCorpusTest, VbriHeaderBehindAUtf16Tag) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("mutagen_vbri.mp3")));
  EXPECT_EQ(audio.ID3v2Tag().TagSize(), 1007);
  EXPECT_EQ(audio.Frame().Offset, 0);
  EXPECT_EQ(audio.Frame().Length, 522);
  EXPECT_EQ(BitRate(audio.Frame()), 160);
  EXPECT_EQ(std::string(audio.VBR().HeaderId.data(), 4), "VBRI");
  EXPECT_EQ(audio.VBR().FrameCount, 8506);
  EXPECT_EQ(audio.VBR().ByteCount, 6478737);
  EXPECT_EQ(audio.VBR().Quality, 100);
  EXPECT_NEAR(audio.PlayTime(), 222.19755, 1e-5);

  const TID3v2& tag = audio.ID3v2Tag();
  EXPECT_EQ(tag.Title(), "I Can Walk On Water I Can Fly");
  EXPECT_EQ(tag.Artist(), "Basshunter");
  EXPECT_EQ(tag.Album(), "I Can Walk On Water I Can Fly");
  EXPECT_EQ(tag.TrackText(), "01");
  EXPECT_EQ(tag.Track(), 1);
  EXPECT_EQ(tag.Year(), "2007");
  EXPECT_EQ(tag.Genre(), "Dance");  // "(3)Dance"
  // COMM: encoding 01, language bytes 00 65 00, description FF FE 00 00, then the text.
  EXPECT_EQ(tag.Comment(), "Ripped by THSLIVE");
  EXPECT_EQ(tag.UrlLink(), "");
}

// No tags; FF F3 80 C4 at 0 (MPEG 2 Layer III, 64 kbit/s, 22050 Hz, mono: 208 bytes,
// FF F3 10 C4 at 208); "Xing" at 13 with frame count 00 03 25 98 (206232), quality 0x3A
// at +119 and "LAME3.96" at +120: 206232 x 576 / 22050 seconds.
TEST_F(AudioCorpusTest, XingHeaderOfAnMpeg2MonoFile) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("taglib_mpeg2.mp3")));
  EXPECT_FALSE(audio.ID3v2Tag().Present());
  EXPECT_FALSE(audio.ID3v1Tag().Present());
  EXPECT_EQ(audio.Frame().VersionCode, kVersionMpeg2);
  EXPECT_EQ(audio.Frame().ModeCode, kModeMono);
  EXPECT_EQ(audio.Frame().Length, 208);
  EXPECT_EQ(audio.VBR().FrameCount, 206232);
  EXPECT_EQ(audio.VBR().Quality, 0x3A);
  EXPECT_EQ(audio.VBR().Vendor, "LAME3.96");
  EXPECT_NEAR(audio.PlayTime(), 5387.28490, 1e-5);
}

// ID3v2.3 of 208 bytes (size bytes 00 00 01 46); FF FB 50 C4 at 208 (64 kbit/s, mono,
// 208 bytes); at +21 stands "Info", which is no VBR header, and the only "LAME" (at 349)
// lies far before the end block: (4096 - 208) x 8 / 64000 seconds.
TEST_F(AudioCorpusTest, InfoHeaderCountsAsConstantBitRate) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("taglib_lame_cbr.mp3")));
  EXPECT_EQ(audio.ID3v2Tag().TagSize(), 208);
  EXPECT_EQ(audio.Frame().Offset, 0);
  EXPECT_FALSE(audio.VBR().Present);
  EXPECT_EQ(audio.EncoderTag(), "");
  EXPECT_DOUBLE_EQ(audio.PlayTime(), 0.486);
}

// ID3v2.3 of 1876 bytes (size bytes 00 00 0E 4A); FF FB 90 C4 at 1876 (MPEG 1 mono);
// "Xing" at +21 with frame count 00 01 1A 33 (72243): 72243 x 1152 / 44100 seconds.
TEST_F(AudioCorpusTest, XingHeaderOfAnMpeg1MonoFile) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("taglib_lame_vbr.mp3")));
  EXPECT_EQ(audio.ID3v2Tag().TagSize(), 1876);
  EXPECT_EQ(audio.VBR().FrameCount, 72243);
  EXPECT_NEAR(audio.PlayTime(), 1887.16408, 1e-5);
}

// No tags; FF FF 72 00 at 0 and 244 (MPEG 1 Layer I, 224 kbit/s, 44100 Hz, padded:
// 4 x 60 + 4 bytes). The file (2684 bytes) is shorter than a block, so the end block
// cannot be positioned: the load fails, the play time stands, 2684 x 8 / 224000 seconds.
TEST_F(AudioCorpusTest, LayerIFileShorterThanABlock) {
  EXPECT_FALSE(audio.LoadFromFile(CorpusFile("tinytag_mpeg1_44_1khz.mp1")));
  EXPECT_EQ(audio.Frame().LayerCode, kLayer1);
  EXPECT_EQ(audio.Frame().Length, 244);
  EXPECT_NEAR(audio.PlayTime(), 0.0958571, 1e-7);
}

// ID3v2.3 of 654 bytes (size bytes 00 00 05 04) with single-byte frames; FF FD 80 04 at
// 654 (MPEG 1 Layer II, 128 kbit/s, 44100 Hz: 417 bytes, FF FD 82 04 at 1071); an
// ID3v1.1 tag (byte 125 zero, track 3, genre 0x0B): (9141 - 654 - 128) x 8 / 128000.
TEST_F(AudioCorpusTest, LayerIIFileWithBothTags) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("musicmetadata_sweet-co-co.mp2")));
  EXPECT_EQ(audio.ID3v2Tag().TagSize(), 654);
  EXPECT_EQ(audio.Frame().LayerCode, kLayer2);
  EXPECT_EQ(audio.Frame().Length, 417);
  EXPECT_DOUBLE_EQ(audio.PlayTime(), 0.5224375);

  const TID3v2& v2 = audio.ID3v2Tag();
  EXPECT_EQ(v2.Title(), "Co-Co");
  EXPECT_EQ(v2.Artist(), "Sweet");
  EXPECT_EQ(v2.Album(), "Canna-Power Charts 1971");
  EXPECT_EQ(v2.Year(), "1971");
  EXPECT_EQ(v2.Genre(), "Oldies");
  EXPECT_EQ(v2.TrackText(), "03/100");
  EXPECT_EQ(v2.Track(), 3);
  // COMM: language 00 00 00, description "http", then the text.
  EXPECT_EQ(v2.Comment(), "//canna.c4.to/");

  const TID3v1& v1 = audio.ID3v1Tag();
  EXPECT_TRUE(v1.Present());
  EXPECT_EQ(v1.TagVersion(), 2);
  EXPECT_EQ(v1.Title(), "Co-Co");
  EXPECT_EQ(v1.Artist(), "Sweet");
  EXPECT_EQ(v1.Album(), "Canna-Power Charts 1971");
  EXPECT_EQ(v1.Year(), "1971");
  EXPECT_EQ(v1.Comment(), "//canna.c4.to/");
  EXPECT_EQ(v1.Track(), 3);
  EXPECT_EQ(v1.GenreNumber(), 11);
}

// ID3v2.2 of 2225 bytes (size bytes 00 00 11 27), three-letter frames, four COM frames
// of which the last has the description "iTunes_CDDB_TrackNumber" and the text "3";
// FF FB A0 40 at 2225 (160 kbit/s: 522 bytes, FF FB A2 60 at 2747); no ID3v1:
// (5120 - 2225) x 8 / 160000 seconds.
TEST_F(AudioCorpusTest, Version2TagWithRepeatedComments) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("mutagen_id3v22-test.mp3")));
  const TID3v2& tag = audio.ID3v2Tag();
  EXPECT_EQ(tag.TagVersion(), 2);
  EXPECT_EQ(tag.TagSize(), 2225);
  EXPECT_EQ(tag.Title(), "cosmic american");
  EXPECT_EQ(tag.Artist(), "Anais Mitchell");
  EXPECT_EQ(tag.Album(), "Hymns for the Exiled");
  EXPECT_EQ(tag.Track(), 3);
  EXPECT_EQ(tag.Year(), "2004");
  EXPECT_EQ(tag.EncodedBy(), "iTunes v4.6");
  EXPECT_EQ(tag.Comment(), "3");
  EXPECT_EQ(audio.Frame().Length, 522);
  EXPECT_DOUBLE_EQ(audio.PlayTime(), 0.14475);
}

// ID3v2.3 of 1314 bytes with two TPE1 frames ("piman", then "jzig") and TRCK "02/10";
// FF FB 10 64 at 1314 (32 kbit/s: 104 bytes, FF FB 12 64 at 1418); ID3v1.1 with track 2
// and genre 0xFF. "LAME" stands 775 bytes before the end block's last window, beyond
// the span of 5 x 104: (16384 - 1314 - 128) x 8 / 32000 seconds.
TEST_F(AudioCorpusTest, ConstantBitRateWithBothTags) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("mutagen_silence-44-s.mp3")));
  EXPECT_EQ(audio.ID3v2Tag().Artist(), "jzig");
  EXPECT_EQ(audio.ID3v2Tag().Track(), 2);
  EXPECT_EQ(audio.ID3v1Tag().Artist(), "piman");
  EXPECT_EQ(audio.ID3v1Tag().TagVersion(), 2);
  EXPECT_EQ(audio.ID3v1Tag().Track(), 2);
  EXPECT_EQ(audio.ID3v1Tag().GenreNumber(), 255);
  EXPECT_EQ(audio.Frame().Length, 104);
  EXPECT_EQ(audio.EncoderTag(), "");
  EXPECT_DOUBLE_EQ(audio.PlayTime(), 3.7355);
}

// ID3v2.3 of 3147 bytes in UTF-16; the second COMM (description FF FE 00 00) wins;
// ID3v1.1 with all 30-byte fields full, track 1, genre 1; FF FB 90 44 at 3147 with
// "Xing" at +36, frame count 00 00 00 06: 6 x 1152 / 44100 seconds.
TEST_F(AudioCorpusTest, Utf16TagsAndFullId3v1Fields) {
  ASSERT_TRUE(audio.LoadFromFile(CorpusFile("mp3agic_v1andv23tagswithalbumimage-utf16le.mp3")));
  const TID3v2& v2 = audio.ID3v2Tag();
  EXPECT_EQ(v2.Title(), "TITLE1234567890123456789012345");
  EXPECT_EQ(v2.Album(), "ALBUM1234567890123456789012345");
  EXPECT_EQ(v2.Composer(), "COMPOSER23456789012345678901234");
  EXPECT_EQ(v2.Copyright(), "COPYRIGHT2345678901234567890123");
  EXPECT_EQ(v2.Genre(), "Classic Rock");
  EXPECT_EQ(v2.Comment(), "COMMENT123456789012345678901");
  EXPECT_EQ(v2.Year(), "2001");

  const TID3v1& v1 = audio.ID3v1Tag();
  EXPECT_EQ(v1.Title(), "TITLE1234567890123456789012345");
  EXPECT_EQ(v1.Artist(), "ARTIST123456789012345678901234");
  EXPECT_EQ(v1.Comment(), "COMMENT123456789012345678901");
  EXPECT_EQ(v1.Track(), 1);
  EXPECT_EQ(v1.GenreNumber(), 1);

  EXPECT_EQ(audio.VBR().FrameCount, 6);
  EXPECT_EQ(audio.VBR().Vendor, "LAME3.92");
  EXPECT_NEAR(audio.PlayTime(), 0.1567347, 1e-7);
}

}  // namespace
}  // namespace plenvox
