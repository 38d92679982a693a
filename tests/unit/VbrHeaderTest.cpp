#include "audio/VbrHeader.h"

#include <gtest/gtest.h>

#include "AudioBytes.h"
#include "audio/MPEGaudio.h"

namespace plenvox {
namespace {

using namespace test;

Block BlockWith(std::initializer_list<std::pair<std::size_t, std::string>> pieces) {
  Block block{};
  for (const auto& [at, bytes] : pieces) {
    for (std::size_t i = 0; i < bytes.size(); ++i) block.at(at + i) = static_cast<std::uint8_t>(bytes[i]);
  }
  return block;
}

// A Xing header: letters, flags, frame and byte counts, then quality at 119 and the
// vendor at 120.
std::string Xing(const std::string& frameCount, const std::string& flags = Bytes({0, 0, 0, 0x0F})) {
  std::string header = "Xing" + flags + frameCount + BigEndianBytes(123456, 4) + Zeros(103);
  return header + Bytes({77}) + "LAME3.99";
}

TEST(VbrHeaderOffsetTest, DependsOnVersionAndMono) {
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg1, 0), 36);
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg1, 1), 36);
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg1, 2), 36);
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg1, kModeMono), 21);
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg2, 1), 21);
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg25, 0), 21);
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg2, kModeMono), 13);
  EXPECT_EQ(VbrHeaderOffset(kVersionMpeg25, kModeMono), 13);
}

TEST(ReadVbrHeaderTest, ReadsEveryXingField) {
  const VBRData vbr = ReadVbrHeader(BlockWith({{50, Xing(BigEndianBytes(4096, 4))}}), 50);
  EXPECT_TRUE(vbr.Present);
  EXPECT_EQ(std::string(vbr.HeaderId.data(), 4), "Xing");
  EXPECT_EQ(vbr.FrameCount, 4096);
  EXPECT_EQ(vbr.ByteCount, 123456);
  EXPECT_EQ(vbr.Quality, 77);
  EXPECT_EQ(vbr.Vendor, "LAME3.99");
}

TEST(ReadVbrHeaderTest, XingCountsAreSignedAndFlagsAreNotConsulted) {
  const VBRData negative = ReadVbrHeader(BlockWith({{0, Xing(Bytes({0xFF, 0xFF, 0xFF, 0xFF}))}}), 0);
  EXPECT_EQ(negative.FrameCount, -1);
  // Flags that leave out the frame count: it is read all the same.
  const VBRData unflagged = ReadVbrHeader(BlockWith({{0, Xing(BigEndianBytes(4096, 4), Zeros(4))}}), 0);
  EXPECT_EQ(unflagged.FrameCount, 4096);
}

TEST(ReadVbrHeaderTest, ZeroVendorBytesAreEightCharacters) {
  std::string header = Xing(BigEndianBytes(10, 4));
  header.replace(120, 8, Zeros(8));
  const VBRData vbr = ReadVbrHeader(BlockWith({{0, header}}), 0);
  EXPECT_EQ(vbr.Vendor, Zeros(8));
}

TEST(ReadVbrHeaderTest, ReadsVbriFields) {
  const std::string vbri = "VBRI" + Bytes({0, 1, 0, 0x32, 0}) + Bytes({66}) + BigEndianBytes(6478737, 4) +
                           BigEndianBytes(8506, 4);
  const VBRData vbr = ReadVbrHeader(BlockWith({{36, vbri}}), 36);
  EXPECT_TRUE(vbr.Present);
  EXPECT_EQ(std::string(vbr.HeaderId.data(), 4), "VBRI");
  EXPECT_EQ(vbr.Quality, 66);
  EXPECT_EQ(vbr.ByteCount, 6478737);
  EXPECT_EQ(vbr.FrameCount, 8506);
  EXPECT_EQ(vbr.Vendor, "");
}

TEST(ReadVbrHeaderTest, OtherLettersGiveTheEmptyRecord) {
  for (const char* letters : {"xing", "XING", "Info", "vbri", "Xin"}) {
    const VBRData vbr = ReadVbrHeader(BlockWith({{0, std::string(letters) + Zeros(20) + "Xing"}}), 0);
    EXPECT_FALSE(vbr.Present) << letters;
    EXPECT_EQ(vbr.HeaderId, (std::array<char, 4>{})) << letters;
    EXPECT_EQ(vbr.FrameCount, 0) << letters;
  }
}

TEST(ReadVbrHeaderTest, HeaderReachingPastTheBlockIsNotRead) {
  const Block block = BlockWith({{BlockSize - 100, "Xing" + BigEndianBytes(0, 4) + BigEndianBytes(5, 4)},
                                 {BlockSize - 18, "VBRI"}, {BlockSize - 4, "Xing"}});
  EXPECT_FALSE(ReadVbrHeader(block, BlockSize - 100).Present);
  EXPECT_TRUE(ReadVbrHeader(block, BlockSize - 18).Present);
  EXPECT_FALSE(ReadVbrHeader(block, BlockSize - 4).Present);
  EXPECT_FALSE(ReadVbrHeader(block, BlockSize - 2).Present);
  EXPECT_FALSE(ReadVbrHeader(block, 65535).Present);
}

struct FrameVbrCase {
  const char* name;
  std::string header;
  std::size_t at;
  bool found;
};

class FrameVbrOffsetTest : public ::testing::TestWithParam<FrameVbrCase> {};

// Two frames in a row at position 10, with a header's letters at the case's offset.
TEST_P(FrameVbrOffsetTest, LooksWhereTheFrameKindPutsIt) {
  const FrameVbrCase& c = GetParam();
  FrameInfo first;
  DecodeFrameHeader({0xFF, static_cast<std::uint8_t>(c.header[1]), static_cast<std::uint8_t>(c.header[2]),
                     static_cast<std::uint8_t>(c.header[3])},
                    first);
  const std::size_t length = FrameLength(first);
  const Block block =
      BlockWith({{10, c.header}, {10 + c.at, "VBRI" + Zeros(5) + Bytes({1})}, {10 + length, c.header}});
  VBRData vbr;
  const FrameInfo frame = FindFirstFrame(block, vbr);
  ASSERT_TRUE(frame.Confirmed);
  EXPECT_EQ(vbr.Present, c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameVbrOffsetTest,
    ::testing::Values(FrameVbrCase{"mpeg1Stereo36", kMpeg1Header, 36, true},
                      FrameVbrCase{"mpeg1StereoNot21", kMpeg1Header, 21, false},
                      FrameVbrCase{"mpeg1Mono21", Bytes({0xFF, 0xFB, 0x90, 0xC4}), 21, true},
                      FrameVbrCase{"mpeg1MonoNot36", Bytes({0xFF, 0xFB, 0x90, 0xC4}), 36, false},
                      FrameVbrCase{"mpeg2Mono13", kMpeg2MonoHeader, 13, true},
                      FrameVbrCase{"mpeg2Stereo21", Bytes({0xFF, 0xF3, 0x54, 0x04}), 21, true},
                      // A checksum behind the header does not move the VBR header.
                      FrameVbrCase{"protectedMpeg1Stereo36", Bytes({0xFF, 0xFA, 0x90, 0x64}), 36, true}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(FindEncoderTagTest, NearestToTheEndWins) {
  const Block block = BlockWith({{BlockSize - 200, "LAME3.99"}, {BlockSize - 100, "GOGO"}});
  EXPECT_EQ(FindEncoderTag(block, 3450), "GOGO");
  const Block swapped = BlockWith({{BlockSize - 100, "LAME3.99"}, {BlockSize - 200, "GOGO"}});
  EXPECT_EQ(FindEncoderTag(swapped, 3450), "LAME3.99");
}

TEST(FindEncoderTagTest, LameTakesTheFourBytesBehindIt) {
  const Block block = BlockWith({{BlockSize - 8, "LAME" + Zeros(2) + "ab"}});
  EXPECT_EQ(FindEncoderTag(block, 0), "LAME" + Zeros(2) + "ab");
}

TEST(FindEncoderTagTest, LameInTheLastSevenBytesIsNeverFound) {
  for (std::size_t back = 4; back <= 7; ++back) {
    Block block{};
    for (std::size_t i = 0; i < 4; ++i) block[BlockSize - back + i] = static_cast<std::uint8_t>("LAME"[i]);
    EXPECT_EQ(FindEncoderTag(block, 3450), "") << back;
  }
  // GOGO needs no characters behind it, but the window starts 8 bytes from the end too.
  EXPECT_EQ(FindEncoderTag(BlockWith({{BlockSize - 7, "GOGO"}}), 3450), "");
}

TEST(FindEncoderTagTest, SpanLimitsTheSearch) {
  // A frame length of 417: span 2085, so the windows start at most 2093 bytes from the end.
  EXPECT_EQ(FindEncoderTag(BlockWith({{BlockSize - 2093, "LAME3.98"}}), 2085), "LAME3.98");
  EXPECT_EQ(FindEncoderTag(BlockWith({{BlockSize - 2094, "LAME3.98"}}), 2085), "");
  EXPECT_EQ(FindEncoderTag(BlockWith({{BlockSize - 2094, "GOGO"}}), 2086), "GOGO");
}

TEST(FindEncoderTagTest, LargeSpanSearchesTheWholeBlock) {
  const Block atStart = BlockWith({{0, "LAME3.90"}});
  EXPECT_EQ(FindEncoderTag(atStart, 3450), "LAME3.90");
  EXPECT_EQ(FindEncoderTag(atStart, 65535), "LAME3.90");
  EXPECT_EQ(FindEncoderTag(atStart, 3449), "");
  EXPECT_EQ(FindEncoderTag(Block{}, 65535), "");
}

}  // namespace
}  // namespace plenvox
