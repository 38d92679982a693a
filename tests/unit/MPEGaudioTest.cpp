#include "audio/MPEGaudio.h"

#include <gtest/gtest.h>

#include "AudioBytes.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using namespace test;

FrameHeader Header(const std::string& bytes) {
  return {static_cast<std::uint8_t>(bytes[0]), static_cast<std::uint8_t>(bytes[1]),
          static_cast<std::uint8_t>(bytes[2]), static_cast<std::uint8_t>(bytes[3])};
}

FrameInfo Decoded(const std::string& bytes) {
  FrameInfo frame;
  DecodeFrameHeader(Header(bytes), frame);
  return frame;
}

Block BlockOf(const std::string& bytes) {
  Block block{};
  for (std::size_t i = 0; i < bytes.size() && i < BlockSize; ++i) block[i] = static_cast<std::uint8_t>(bytes[i]);
  return block;
}

// Seconds of audio bytes at 128 kbit/s.
double CbrSeconds(std::size_t bytes) { return static_cast<double>(bytes) * 8 / 128000; }

// Constant-bit-rate audio: count frames of the 128 kbit/s MPEG 1 header, 417 bytes each.
std::string Frames(std::size_t count) { return Repeat(MpegFrame(kMpeg1Header, 417), count); }

// A first frame holding a Xing header with the given frame count, then more frames.
std::string XingFile(const std::string& frameCount) {
  std::string first = MpegFrame(kMpeg1Header, 417);
  first.replace(36, 12, "Xing" + Zeros(4) + frameCount);
  return first + Frames(20);
}

TEST(DecodeFrameHeaderTest, Mpeg1Layer3JointStereo) {
  FrameInfo frame;
  frame.Offset = 7;
  frame.Confirmed = true;
  DecodeFrameHeader({0xFF, 0xFB, 0x90, 0x64}, frame);
  EXPECT_EQ(frame.Header, (FrameHeader{0xFF, 0xFB, 0x90, 0x64}));
  EXPECT_EQ(frame.VersionCode, kVersionMpeg1);
  EXPECT_EQ(frame.LayerCode, kLayer3);
  EXPECT_FALSE(frame.Protected);
  EXPECT_EQ(frame.BitRateIndex, 9);
  EXPECT_EQ(BitRate(frame), 128);
  EXPECT_EQ(frame.SampleRateIndex, 0);
  EXPECT_EQ(SampleRate(frame), 44100);
  EXPECT_FALSE(frame.Padded);
  EXPECT_FALSE(frame.PrivateBit);
  EXPECT_EQ(frame.ModeCode, 1);
  EXPECT_EQ(frame.ModeExtension, 2);
  EXPECT_FALSE(frame.Copyrighted);
  EXPECT_TRUE(frame.Original);
  EXPECT_EQ(frame.EmphasisCode, 0);
  EXPECT_EQ(FrameLength(frame), 417);
  // The placement fields are not the decoder's.
  EXPECT_EQ(frame.Offset, 7);
  EXPECT_TRUE(frame.Confirmed);
}

TEST(DecodeFrameHeaderTest, Mpeg2Layer3Mono) {
  const FrameInfo frame = Decoded(kMpeg2MonoHeader);
  EXPECT_EQ(frame.VersionCode, kVersionMpeg2);
  EXPECT_EQ(frame.LayerCode, kLayer3);
  EXPECT_FALSE(frame.Protected);
  EXPECT_EQ(BitRate(frame), 40);
  EXPECT_EQ(SampleRate(frame), 24000);
  EXPECT_EQ(frame.ModeCode, kModeMono);
  EXPECT_EQ(LengthFactor(frame), 72);
  EXPECT_EQ(FrameLength(frame), 120);
}

TEST(DecodeFrameHeaderTest, EveryOtherBitLandsInItsField) {
  // Private bit, padding, copyright, mode extension 3, emphasis 3, dual channel.
  const FrameInfo frame = Decoded(Bytes({0xFF, 0xFD, 0xEB, 0xBB}));
  EXPECT_EQ(frame.LayerCode, kLayer2);
  EXPECT_EQ(frame.BitRateIndex, 14);
  EXPECT_EQ(frame.SampleRateIndex, 2);
  EXPECT_TRUE(frame.Padded);
  EXPECT_TRUE(frame.PrivateBit);
  EXPECT_EQ(frame.ModeCode, 2);
  EXPECT_EQ(frame.ModeExtension, 3);
  EXPECT_TRUE(frame.Copyrighted);
  EXPECT_FALSE(frame.Original);
  EXPECT_EQ(frame.EmphasisCode, 3);
}

struct LengthCase {
  const char* name;
  std::string header;
  int factor;
  int padding;
  int length;
};

class FrameLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(FrameLengthTest, FollowsBitRateSampleRateAndPadding) {
  const FrameInfo frame = Decoded(GetParam().header);
  EXPECT_EQ(LengthFactor(frame), GetParam().factor);
  EXPECT_EQ(PaddingBytes(frame), GetParam().padding);
  EXPECT_EQ(FrameLength(frame), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, FrameLengthTest,
    ::testing::Values(LengthCase{"mpeg1Layer3", kMpeg1Header, 144, 0, 417},
                      LengthCase{"mpeg1Layer3Padded", kMpeg1PaddedHeader, 144, 1, 418},
                      LengthCase{"mpeg2Layer3At64k", Bytes({0xFF, 0xF3, 0x80, 0xC4}), 72, 0, 208},
                      LengthCase{"mpeg25Layer3At8k", Bytes({0xFF, 0xE3, 0x18, 0xC4}), 72, 0, 72},
                      // Layer I counts four-byte slots: 4 x trunc(12 x 32000 / 22050) (+ 4).
                      LengthCase{"mpeg2Layer1", Bytes({0xFF, 0xF7, 0x10, 0xC4}), 48, 0, 68},
                      LengthCase{"mpeg2Layer1Padded", Bytes({0xFF, 0xF7, 0x12, 0xC4}), 48, 4, 72},
                      LengthCase{"mpeg1Layer1At224kPadded", Bytes({0xFF, 0xFF, 0x72, 0x04}), 48, 4, 244},
                      LengthCase{"mpeg1Layer2Longest", Bytes({0xFF, 0xFD, 0xEA, 0x04}), 144, 1, 1729},
                      LengthCase{"mpeg2Layer2", Bytes({0xFF, 0xF5, 0xE0, 0x04}), 144, 0, 1044}),
    [](const auto& param) { return std::string(param.param.name); });

struct ValidityCase {
  const char* name;
  std::string header;
  bool valid;
};

class HeaderValidTest : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(HeaderValidTest, RejectsSyncAndReservedCodes) {
  EXPECT_EQ(HeaderValid(Header(GetParam().header)), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderValidTest,
    ::testing::Values(ValidityCase{"plain", kMpeg1Header, true},
                      ValidityCase{"mpeg25", Bytes({0xFF, 0xE3, 0x18, 0xC4}), true},
                      ValidityCase{"otherBitsFree", Bytes({0xFF, 0xFA, 0x93, 0xFD}), true},
                      ValidityCase{"firstByte", Bytes({0xFE, 0xFB, 0x90, 0x64}), false},
                      ValidityCase{"syncBits", Bytes({0xFF, 0xDB, 0x90, 0x64}), false},
                      ValidityCase{"reservedVersion", Bytes({0xFF, 0xEB, 0x90, 0x64}), false},
                      ValidityCase{"reservedLayer", Bytes({0xFF, 0xF9, 0x90, 0x64}), false},
                      ValidityCase{"freeFormat", Bytes({0xFF, 0xFB, 0x00, 0x64}), false},
                      ValidityCase{"badBitRate", Bytes({0xFF, 0xFB, 0xF0, 0x64}), false},
                      ValidityCase{"reservedSampleRate", Bytes({0xFF, 0xFB, 0x9C, 0x64}), false},
                      ValidityCase{"reservedEmphasis", Bytes({0xFF, 0xFB, 0x90, 0x66}), false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(HeaderAtTest, NeedsAllFourBytesInsideTheBlock) {
  Block block{};
  for (std::size_t at : {std::size_t{100}, BlockSize - 4}) {
    for (std::size_t i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(kMpeg1Header[i]);
  }
  EXPECT_TRUE(HeaderAt(block, 100));
  EXPECT_FALSE(HeaderAt(block, 101));
  EXPECT_TRUE(HeaderAt(block, BlockSize - 4));
  EXPECT_FALSE(HeaderAt(block, BlockSize - 3));
  EXPECT_FALSE(HeaderAt(block, 65535));
}

TEST(BlankAtTest, SixZeroBytesInsideTheBlock) {
  Block block{};
  block[10] = 1;
  EXPECT_TRUE(BlankAt(block, 4));
  EXPECT_FALSE(BlankAt(block, 5));
  EXPECT_FALSE(BlankAt(block, 10));
  EXPECT_TRUE(BlankAt(block, BlockSize - 6));
  EXPECT_FALSE(BlankAt(block, BlockSize - 5));
}

TEST(FindFirstFrameTest, FindsAFrameConfirmedByTheNextHeader) {
  VBRData vbr;
  vbr.Present = true;  // replaced by the frame's (absent) VBR header
  const FrameInfo frame = FindFirstFrame(BlockOf(Zeros(100) + Frames(2)), vbr);
  EXPECT_TRUE(frame.Confirmed);
  EXPECT_EQ(frame.Offset, 100);
  EXPECT_EQ(frame.Length, 417);
  EXPECT_TRUE(frame.BlankAfterHeader);
  EXPECT_FALSE(vbr.Present);
}

TEST(FindFirstFrameTest, PassesOverAHeaderWithoutSuccessor) {
  // A lone sync pair 50 bytes in, then a real pair of frames.
  const std::string bytes = Zeros(50) + kMpeg1Header + "junk" + Zeros(42) + Frames(2);
  VBRData vbr;
  const FrameInfo frame = FindFirstFrame(BlockOf(bytes), vbr);
  EXPECT_TRUE(frame.Confirmed);
  EXPECT_EQ(frame.Offset, 100);
}

TEST(FindFirstFrameTest, TheSuccessorNeedsOnlyToBeValid) {
  const std::string bytes = MpegFrame(kMpeg1Header, 417) + kMpeg2MonoHeader;
  VBRData vbr;
  const FrameInfo frame = FindFirstFrame(BlockOf(bytes), vbr);
  EXPECT_TRUE(frame.Confirmed);
  EXPECT_EQ(frame.VersionCode, kVersionMpeg1);
}

TEST(FindFirstFrameTest, SuccessorMustLieInsideTheBlock) {
  // The longest frame (1729 bytes): from position 1725 its successor's four bytes end
  // exactly at the block's end; from 1726 on they would not fit.
  const std::string longest = Bytes({0xFF, 0xFD, 0xEA, 0x04});
  for (const std::size_t at : {std::size_t{1725}, std::size_t{1726}, std::size_t{1729}}) {
    Block block{};
    for (std::size_t i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(longest[i]);
    for (std::size_t i = 0; i < 4 && at + 1729 + i < BlockSize; ++i) {
      block[at + 1729 + i] = static_cast<std::uint8_t>(longest[i]);
    }
    VBRData vbr;
    EXPECT_EQ(FindFirstFrame(block, vbr).Confirmed, at == 1725) << at;
  }
}

TEST(FindFirstFrameTest, CandidatesEndAtPosition1729) {
  // Frames of 120 bytes at 1729 and 1849 are found; from 1730 on they are not looked at.
  VBRData vbr;
  const FrameInfo found = FindFirstFrame(BlockOf(Zeros(1729) + Repeat(MpegFrame(kMpeg2MonoHeader, 120), 2)), vbr);
  EXPECT_TRUE(found.Confirmed);
  EXPECT_EQ(found.Offset, 1729);
  const FrameInfo missed = FindFirstFrame(BlockOf(Zeros(1730) + Repeat(MpegFrame(kMpeg2MonoHeader, 120), 2)), vbr);
  EXPECT_FALSE(missed.Confirmed);
}

TEST(FindFirstFrameTest, LeavesTheVbrRecordAloneWithoutAFrame) {
  VBRData vbr;
  vbr.Present = true;
  vbr.FrameCount = 9;
  EXPECT_FALSE(FindFirstFrame(BlockOf(kMpeg1Header), vbr).Confirmed);
  EXPECT_TRUE(vbr.Present);
  EXPECT_EQ(vbr.FrameCount, 9);
}

class MPEGaudioTest : public ::testing::Test {
 protected:
  bool Load(const std::string& bytes) {
    WriteFile(path, bytes);
    return audio.LoadFromFile(path);
  }
  void ExpectCleared() const {
    EXPECT_FALSE(audio.Frame().Confirmed);
    EXPECT_EQ(audio.Frame().VersionCode, kVersionReserved);
    EXPECT_EQ(audio.Frame().SampleRateIndex, 3);
    EXPECT_EQ(audio.Frame().ModeCode, kModeUnknown);
    EXPECT_EQ(audio.Frame().ModeExtension, 4);
    EXPECT_EQ(audio.Frame().EmphasisCode, kEmphasisReserved);
    EXPECT_EQ(audio.FileLength(), 0);
    EXPECT_FALSE(audio.VBR().Present);
    EXPECT_EQ(audio.EncoderTag(), "");
    EXPECT_FALSE(audio.ID3v1Tag().Present());
    EXPECT_FALSE(audio.ID3v2Tag().Present());
    EXPECT_EQ(audio.PlayTime(), 0.0);
  }
  TempDir dir;
  std::string path = dir / "a.mp3";
  FakePlatform os;
  TMPEGaudio audio{os};
};

TEST_F(MPEGaudioTest, NewAnalyserIsCleared) { ExpectCleared(); }

TEST_F(MPEGaudioTest, MissingOrTooShortFileFails) {
  EXPECT_FALSE(audio.LoadFromFile(dir / "missing.mp3"));
  ExpectCleared();
  EXPECT_FALSE(Load(kMpeg1Header + "12345"));
  ExpectCleared();
  // Two short frames that would confirm each other, but the file is too short for the
  // ID3v1 reader.
  EXPECT_FALSE(Load(Repeat(MpegFrame(Bytes({0xFF, 0xE3, 0x18, 0xC4}), 72), 1) + Bytes({0xFF, 0xE3, 0x18, 0xC4})));
  ExpectCleared();
}

TEST_F(MPEGaudioTest, CbrFileBehindTagsUsesTheByteCount) {
  const std::string tag = Id3v2Header(3, 0, SynchSafeBytes(2038)) + Zeros(2038);
  const std::string bytes = tag + Frames(40) + Id3v1Block("Title");
  ASSERT_TRUE(Load(bytes));
  EXPECT_TRUE(audio.Frame().Confirmed);
  EXPECT_EQ(audio.Frame().Offset, 0);
  EXPECT_EQ(audio.Frame().Length, 417);
  EXPECT_EQ(audio.ID3v2Tag().TagSize(), 2048);
  EXPECT_TRUE(audio.ID3v1Tag().Present());
  EXPECT_EQ(audio.FileLength(), static_cast<std::int64_t>(bytes.size()));
  EXPECT_DOUBLE_EQ(audio.PlayTime(), CbrSeconds(bytes.size() - 2048 - 128));
}

TEST_F(MPEGaudioTest, XingFrameCountGivesThePlayTime) {
  ASSERT_TRUE(Load(XingFile(BigEndianBytes(10000, 4))));
  EXPECT_TRUE(audio.VBR().Present);
  EXPECT_EQ(audio.VBR().FrameCount, 10000);
  EXPECT_NEAR(audio.PlayTime(), 10000 * 1152 / 44100.0, 1e-9);
  EXPECT_NEAR(audio.PlayTime(), 261.22, 0.005);
  EXPECT_EQ(audio.EncoderTag(), "");  // the end block is not read
}

TEST_F(MPEGaudioTest, LargeFrameCountDoesNotOverflow) {
  ASSERT_TRUE(Load(XingFile(BigEndianBytes(0x7FFFFFFF, 4))));
  EXPECT_DOUBLE_EQ(audio.PlayTime(), 2147483647.0 * 1152 / 44100);
}

TEST_F(MPEGaudioTest, ZeroOrNegativeFrameCountFallsBackToTheByteCount) {
  for (const std::string& count : {BigEndianBytes(0, 4), Bytes({0x80, 0, 0, 1})}) {
    const std::string bytes = XingFile(count);
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(audio.VBR().Present);
    EXPECT_DOUBLE_EQ(audio.PlayTime(), CbrSeconds(bytes.size()));
  }
}

TEST_F(MPEGaudioTest, FrameFromTheMiddleBlockKeepsItsBlockOffset) {
  // 4000 bytes of text after the tag: the first block holds no frame; the middle block
  // starts at (length - tag size) / 2 from the file's start.
  const std::string tag = Id3v2Tag(3, Zeros(90));
  const std::string bytes = tag + std::string(4000, 't') + Frames(20);
  ASSERT_TRUE(Load(bytes));
  const std::int64_t middle = static_cast<std::int64_t>(bytes.size() - tag.size()) / 2;
  ASSERT_EQ(middle, 6170);
  // Frames start at 4100 and every 417 bytes: the first one at or after 6170 is at 6185.
  EXPECT_TRUE(audio.Frame().Confirmed);
  EXPECT_EQ(audio.Frame().Offset, 15);
  // The offset is taken off unchanged, as if it counted from the tag's end.
  EXPECT_DOUBLE_EQ(audio.PlayTime(),
                   CbrSeconds(bytes.size() - tag.size() - 15));
}

TEST_F(MPEGaudioTest, NoMiddleBlockForAShortFile) {
  // Fewer than 3458 bytes after the tag, none of them a frame.
  // A middle block (from byte 1667) would hold the frames.
  EXPECT_TRUE(Load(Id3v2Tag(3, Zeros(20)) + std::string(2500, 't') + Frames(2)));
  ExpectCleared();
}

TEST_F(MPEGaudioTest, NoFrameAnywhereIsClearedButSucceeds) {
  EXPECT_TRUE(Load(std::string(10000, 't')));
  ExpectCleared();
}

TEST_F(MPEGaudioTest, MiddleBlockReusesTheBufferBehindAShortRead) {
  // 4000 bytes, no tag. The first block (bytes 0 to 3457) has no frame candidate; the
  // middle block reads bytes 2000 to 3999 into the buffer's start and leaves bytes 2000
  // to 3457 of the first read behind them. A frame at file byte 3700 (block position
  // 1700) is confirmed by the header that the first read left at buffer index 2117.
  std::string bytes(4000, 't');
  bytes.replace(2117, 4, kMpeg1Header);
  bytes.replace(3700, 4, kMpeg1Header);
  ASSERT_TRUE(Load(bytes));
  EXPECT_TRUE(audio.Frame().Confirmed);
  EXPECT_EQ(audio.Frame().Offset, 1700);
}

TEST_F(MPEGaudioTest, ShortReadLeavesZerosThatConfirmNothing) {
  // One frame and nothing after it: the successor position holds the buffer's zeros.
  EXPECT_TRUE(Load(Id3v2Tag(3, Zeros(200)) + MpegFrame(kMpeg1Header, 417)));
  ExpectCleared();
}

TEST_F(MPEGaudioTest, EncoderTagIsSearchedInTheBlockThatEndsTheAudio) {
  // LAME 200 bytes before the audio's end, an ID3v1 tag behind it.
  std::string audioBytes = Frames(20);
  audioBytes.replace(audioBytes.size() - 200, 8, "LAME3.97");
  ASSERT_TRUE(Load(audioBytes + Id3v1Block("x")));
  EXPECT_EQ(audio.EncoderTag(), "LAME3.97");
  // Without the ID3v1 tag the block ends 128 bytes later; the span (5 x 417 + 8 bytes)
  // still reaches the tag.
  ASSERT_TRUE(Load(audioBytes + std::string(128, 'z')));
  EXPECT_EQ(audio.EncoderTag(), "LAME3.97");
}

TEST_F(MPEGaudioTest, EncoderTagBeyondTheSpanIsNotFound) {
  std::string audioBytes = Frames(20);
  audioBytes.replace(audioBytes.size() - 2094, 8, "LAME3.97");
  ASSERT_TRUE(Load(audioBytes));
  EXPECT_EQ(audio.EncoderTag(), "");
}

TEST_F(MPEGaudioTest, ShortFileFailsAtTheEndBlockButKeepsItsPlayTime) {
  // 8 frames (3336 bytes) and an ID3v1 tag: 3464 bytes, less than 3458 + 128.
  std::string audioBytes = Frames(8);
  audioBytes.replace(audioBytes.size() - 100, 4, "GOGO");
  const std::string bytes = audioBytes + Id3v1Block("x");
  EXPECT_FALSE(Load(bytes));
  EXPECT_TRUE(audio.Frame().Confirmed);
  EXPECT_EQ(audio.EncoderTag(), "");
  EXPECT_DOUBLE_EQ(audio.PlayTime(), CbrSeconds(bytes.size() - 128));
}

TEST_F(MPEGaudioTest, ReadFailureBeforeAFrameClears) {
  WriteFile(path, Frames(20));
  // The read of the file's start succeeds; the read of its end, which the frame search
  // waits for, fails.
  os.FailOn("read", "a.mp3", kErrorReadFault, 1);
  EXPECT_FALSE(audio.LoadFromFile(path));
  ExpectCleared();
}

TEST_F(MPEGaudioTest, FailureAfterTheFrameKeepsWhatWasFound) {
  WriteFile(path, Frames(20));
  os.FailOn("close", "a.mp3", kErrorAccessDenied);  // the one close, after the analysis
  EXPECT_FALSE(audio.LoadFromFile(path));
  EXPECT_TRUE(audio.Frame().Confirmed);
  EXPECT_DOUBLE_EQ(audio.PlayTime(), CbrSeconds(20 * 417));
}

TEST_F(MPEGaudioTest, EveryFileIsClosed) {
  ASSERT_TRUE(Load(Frames(20)));
  EXPECT_EQ(os.CallsStartingWith({"OpenRead("}).size(), 1u);
  EXPECT_EQ(os.CallsStartingWith({"Close("}).size(), 1u);
}

// Counts the positionings and reads of the files that it opens.
class CountingPlatform : public FakePlatform {
 public:
  int seeks = 0;
  int reads = 0;

  std::unique_ptr<File> OpenRead(TTextEncoding pathEncoding, const std::string& path,
                                 std::uint32_t& error) override {
    auto file = FakePlatform::OpenRead(pathEncoding, path, error);
    return file ? std::make_unique<CountingFile>(std::move(file), *this) : nullptr;
  }
  using FakePlatform::OpenRead;

 private:
  class CountingFile : public File {
   public:
    CountingFile(std::unique_ptr<File> file, CountingPlatform& counts)
        : file_(std::move(file)), counts_(counts) {}
    bool Read(void* buffer, std::size_t size, std::size_t& got) override {
      ++counts_.reads;
      return file_->Read(buffer, size, got);
    }
    bool Write(const void* data, std::size_t size) override { return file_->Write(data, size); }
    bool Seek(std::int64_t offset) override {
      ++counts_.seeks;
      return file_->Seek(offset);
    }
    bool Size(std::int64_t& size) override { return file_->Size(size); }
    bool Close() override { return file_->Close(); }
    std::uint32_t Error() const override { return file_->Error(); }

   private:
    std::unique_ptr<File> file_;
    CountingPlatform& counts_;
  };
};

struct ReadsCase {
  const char* name;
  std::string bytes;
  int reads;
};

void PrintTo(const ReadsCase& file, std::ostream* out) { *out << file.name; }

class MPEGaudioReadsTest : public ::testing::TestWithParam<ReadsCase> {};

// One open serves both tag readers and the frame search; the file's start (the ID3v2
// tag with the first block) and its end (the ID3v1 tag with the block in front of it)
// come in one read each, the middle block and the frames behind a long one in a tag in
// one more each.
TEST_P(MPEGaudioReadsTest, OneOpenAndOneReadPerPartOfTheFile) {
  TempDir dir;
  const std::string path = dir / "a.mp3";
  WriteFile(path, GetParam().bytes);
  CountingPlatform os;
  TMPEGaudio audio(os);
  ASSERT_TRUE(audio.LoadFromFile(path));
  EXPECT_TRUE(audio.Frame().Confirmed);
  EXPECT_EQ(os.CallsStartingWith({"OpenRead("}).size(), 1u);
  EXPECT_EQ(os.CallsStartingWith({"Close("}).size(), 1u);
  EXPECT_EQ(os.reads, GetParam().reads);
  EXPECT_EQ(os.seeks, GetParam().reads);
}

std::string TagWithPicture() {
  return Id3v2Tag(3, Id3v2Frame("TPE1", Bytes({0}) + "Artist") +
                         Id3v2Frame("APIC", Bytes({0}) + Zeros(99999)) +
                         Id3v2Frame("TIT2", Bytes({0}) + "Title") + Zeros(1000));
}

INSTANTIATE_TEST_SUITE_P(
    Files, MPEGaudioReadsTest,
    ::testing::Values(
        ReadsCase{"shortFileInOneRead", Frames(10), 1},
        ReadsCase{"cbrBehindBothTags", Id3v2Tag(3, Zeros(2038)) + Frames(40) + Id3v1Block("T"), 2},
        ReadsCase{"xingBehindATag", Id3v2Tag(4, Zeros(500)) + XingFile(BigEndianBytes(100, 4)), 2},
        ReadsCase{"junkBeforeTheAudio",
                  Id3v2Tag(3, Zeros(90)) + std::string(4000, 't') + Frames(40), 3},
        ReadsCase{"pictureInTheTag", TagWithPicture() + Frames(40) + Id3v1Block("T"), 3}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(MPEGaudioTest, ReloadStartsFromTheClearedState) {
  ASSERT_TRUE(Load(XingFile(BigEndianBytes(10000, 4))));
  EXPECT_TRUE(Load(std::string(5000, 't')));
  ExpectCleared();
}

TEST_F(MPEGaudioTest, FrameInsideTheTrailingTagGivesNoNegativePlayTime) {
  // 122 bytes of text, then an ID3v1 tag whose title and album hold two MPEG 2.5 headers
  // 72 bytes apart: the only frame lies behind the audio's end.
  const std::string header = Bytes({0xFF, 0xE3, 0x18, 0xC4});
  std::string tag = Id3v1Block("");
  tag.replace(3, 4, header);
  tag.replace(75, 4, header);
  EXPECT_FALSE(Load(std::string(122, 't') + tag));  // too short for the end block
  EXPECT_TRUE(audio.Frame().Confirmed);
  EXPECT_EQ(audio.Frame().Offset, 125);
  EXPECT_EQ(audio.PlayTime(), 0.0);
}

}  // namespace
}  // namespace plenvox
