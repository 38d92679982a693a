#include "audio/ID3v2.h"

#include <gtest/gtest.h>

#include "AudioBytes.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using namespace test;

class ID3v2Test : public ::testing::Test {
 protected:
  bool Load(const std::string& bytes) {
    WriteFile(path, bytes);
    return tag.LoadFromFile(path);
  }
  // A version-3 tag of the given frames with some audio-like bytes after it.
  bool LoadFrames(const std::string& frames, int version = 3) {
    return Load(Id3v2Tag(version, frames + Zeros(20)) + std::string(50, 'x'));
  }
  void ExpectNoTexts() const {
    EXPECT_EQ(tag.Title(), "");
    EXPECT_EQ(tag.Artist(), "");
    EXPECT_EQ(tag.TrackText(), "");
    EXPECT_EQ(tag.Track(), 0);
  }
  TempDir dir;
  std::string path = dir / "a.mp3";
  FakePlatform os;
  TID3v2 tag{os};
};

TEST_F(ID3v2Test, NineBytesFailAndTenBytesReadAnEmptyTag) {
  EXPECT_FALSE(Load("ID3" + Bytes({3, 0, 0, 0, 0, 0})));
  EXPECT_FALSE(tag.Present());

  EXPECT_TRUE(Load("ID3" + Bytes({3}) + Zeros(6)));
  EXPECT_TRUE(tag.Present());
  EXPECT_EQ(tag.TagVersion(), 3);
  EXPECT_EQ(tag.TagSize(), 10);
}

TEST_F(ID3v2Test, MissingFileFailsAndClears) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TIT2", Bytes({0}) + "Word")));
  EXPECT_FALSE(tag.LoadFromFile(dir / "missing.mp3"));
  EXPECT_FALSE(tag.Present());
  EXPECT_EQ(tag.TagSize(), 0);
  ExpectNoTexts();
}

TEST_F(ID3v2Test, WithoutMarkerNothingIsPresent) {
  EXPECT_TRUE(Load("id3" + Bytes({3}) + Zeros(100)));
  EXPECT_FALSE(tag.Present());
  EXPECT_EQ(tag.TagVersion(), 0);
  EXPECT_EQ(tag.TagSize(), 0);
}

struct SizeCase {
  const char* name;
  std::string header;
  std::size_t fileLength;
  std::int32_t tagSize;
};

class ID3v2SizeTest : public ID3v2Test, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ID3v2SizeTest, ComputesTheTagSize) {
  const SizeCase& c = GetParam();
  ASSERT_TRUE(Load(c.header + Zeros(c.fileLength - c.header.size())));
  EXPECT_TRUE(tag.Present());
  EXPECT_EQ(tag.TagSize(), c.tagSize);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ID3v2SizeTest,
    ::testing::Values(
        SizeCase{"plain", Id3v2Header(3, 0, Bytes({0, 0, 2, 1})), 300, 267},
        SizeCase{"footer", Id3v2Header(3, 0x10, Bytes({0, 0, 2, 1})), 300, 277},
        SizeCase{"footerExactlyTheFile", Id3v2Header(4, 0x10, Bytes({0, 0, 2, 1})), 277, 277},
        SizeCase{"largerThanTheFile", Id3v2Header(3, 0, Bytes({0, 0, 2, 1})), 266, 0},
        SizeCase{"footerLargerThanTheFile", Id3v2Header(3, 0x10, Bytes({0, 0, 2, 1})), 276, 0},
        // The top bit of a size byte counts as it stands: 0x80 in the last byte is 128.
        SizeCase{"topBitsUnmasked", Id3v2Header(3, 0, Bytes({0, 0, 0, 0x80})), 200, 138},
        SizeCase{"allSizeBytes", Id3v2Header(3, 0, Bytes({0, 0, 1, 0})), 200, 138}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ID3v2Test, OversizedTagReadsNoTexts) {
  const std::string body = Id3v2Frame("TIT2", Bytes({0}) + "Word");
  ASSERT_TRUE(Load(Id3v2Header(3, 0, SynchSafeBytes(1000)) + body));
  EXPECT_TRUE(tag.Present());
  EXPECT_EQ(tag.TagSize(), 0);
  ExpectNoTexts();
}

TEST_F(ID3v2Test, UnknownMajorVersionReadsNoTexts) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TIT2", Bytes({0}) + "Word"), 5));
  EXPECT_TRUE(tag.Present());
  EXPECT_EQ(tag.TagVersion(), 5);
  EXPECT_GT(tag.TagSize(), 10);
  ExpectNoTexts();
}

struct TitleCase {
  const char* name;
  std::string frames;
  std::string title;
};

class ID3v2TitleTest : public ID3v2Test, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(ID3v2TitleTest, TakesTheTitle) {
  ASSERT_TRUE(LoadFrames(GetParam().frames));
  EXPECT_EQ(tag.Title(), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ID3v2TitleTest,
    ::testing::Values(
        TitleCase{"singleByte", Id3v2Frame("TIT2", Bytes({0}) + "Word"), "Word"},
        TitleCase{"utf16", Id3v2Frame("TIT2", Bytes({1}) + Utf16Le("Word")), "Word"},
        TitleCase{"utf16BigEndian",
                  Id3v2Frame("TIT2", Bytes({1, 0xFE, 0xFF, 0, 'W', 0, 'o', 0, 'r', 0, 'd'})), "Word"},
        // Only byte-order marks are dropped: U+00FF (low byte 0xFF) is a character.
        TitleCase{"utf16LowByteFF", Id3v2Frame("TIT2", Bytes({1, 0xFF, 0xFE, 'a', 0, 0xFF, 0x00, 'b', 0})),
                  "a\xC3\xBF" "b"},
        TitleCase{"utf16DoubleMark", Id3v2Frame("TIT2", Bytes({1, 0xFF, 0xFE, 0xFF, 0xFE, 'a', 0})), "a"},
        TitleCase{"utf16StopsAtZeroUnit", Id3v2Frame("TIT2", Bytes({1}) + Utf16Le("ab") + Zeros(2) + Bytes({'c', 0})),
                  "ab"},
        TitleCase{"utf16NonLatin", Id3v2Frame("TIT2", Bytes({1, 0xFF, 0xFE, 0xAC, 0x20})), "\xE2\x82\xAC"},
        TitleCase{"trimmedBothEnds", Id3v2Frame("TIT2", Bytes({0}) + "  Word \t"), "Word"},
        TitleCase{"innerZerosStay", Id3v2Frame("TIT2", Bytes({0}) + "a" + Zeros(1) + "b"),
                  "a" + Zeros(1) + "b"},
        // Encodings 2 and 3 are not read; the fallback frame fills in.
        TitleCase{"utf16BigEndianEncodingIgnored",
                  Id3v2Frame("TIT2", Bytes({2}) + "Word") + Id3v2Frame("TIT1", Bytes({0}) + "Group"),
                  "Group"},
        TitleCase{"utf8EncodingIgnored",
                  Id3v2Frame("TIT2", Bytes({3}) + "Word") + Id3v2Frame("TIT1", Bytes({0}) + "Group"),
                  "Group"},
        TitleCase{"emptyTitleFallsBack",
                  Id3v2Frame("TIT2", Bytes({0}) + "  ") + Id3v2Frame("TIT1", Bytes({0}) + "Group"),
                  "Group"},
        TitleCase{"lastOneWins",
                  Id3v2Frame("TIT2", Bytes({0}) + "First") + Id3v2Frame("TIT2", Bytes({0}) + "Second"),
                  "Second"},
        TitleCase{"rejectedLaterFrameKeepsEarlier",
                  Id3v2Frame("TIT2", Bytes({0}) + "First") + Id3v2Frame("TIT2", Bytes({3}) + "Second"),
                  "First"},
        TitleCase{"idMatchesWithCase", Id3v2Frame("Tit2", Bytes({0}) + "Word"), ""},
        // Zero bytes where a frame ID should be end the scan.
        TitleCase{"paddingEndsTheScan",
                  Id3v2Frame("TIT2", Bytes({0}) + "Word") + Zeros(10) + Id3v2Frame("TIT2", Bytes({0}) + "Late"),
                  "Word"},
        TitleCase{"lowerCaseIdEndsTheScan",
                  Id3v2Frame("xTIT", Bytes({0}) + "?") + Id3v2Frame("TIT2", Bytes({0}) + "Late"), ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ID3v2Test, FallbackSlotsFillArtistAlbumAndYear) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TOPE", Bytes({0}) + "Original") +
                         Id3v2Frame("TOAL", Bytes({0}) + "First Album") +
                         Id3v2Frame("TDRC", Bytes({0}) + "2004-05-06")));
  EXPECT_EQ(tag.Artist(), "Original");
  EXPECT_EQ(tag.Album(), "First Album");
  EXPECT_EQ(tag.Year(), "2004");
}

TEST_F(ID3v2Test, MainSlotsWinOverFallbacks) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TDRC", Bytes({0}) + "2004-05-06") +
                         Id3v2Frame("TPE1", Bytes({0}) + "Artist") +
                         Id3v2Frame("TOPE", Bytes({0}) + "Original") +
                         Id3v2Frame("TYER", Bytes({0}) + "1999")));
  EXPECT_EQ(tag.Artist(), "Artist");
  EXPECT_EQ(tag.Year(), "1999");
}

TEST_F(ID3v2Test, ReadsTheOtherTextFrames) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TCOM", Bytes({0}) + "Composer") +
                         Id3v2Frame("TENC", Bytes({0}) + "Encoder") +
                         Id3v2Frame("TCOP", Bytes({0}) + "2004 Someone") +
                         Id3v2Frame("TLAN", Bytes({0}) + "eng") +
                         Id3v2Frame("TALB", Bytes({1}) + Utf16Le("Album"))));
  EXPECT_EQ(tag.Composer(), "Composer");
  EXPECT_EQ(tag.EncodedBy(), "Encoder");
  EXPECT_EQ(tag.Copyright(), "2004 Someone");
  EXPECT_EQ(tag.Language(), "eng");
  EXPECT_EQ(tag.Album(), "Album");
}

struct TrackCase {
  const char* name;
  std::string text;
  std::uint16_t track;
};

class ID3v2TrackTest : public ID3v2Test, public ::testing::WithParamInterface<TrackCase> {};

TEST_P(ID3v2TrackTest, ParsesTheTrackNumber) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TRCK", Bytes({0}) + GetParam().text)));
  EXPECT_EQ(tag.Track(), GetParam().track);
  EXPECT_EQ(tag.TrackText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ID3v2TrackTest,
    ::testing::Values(TrackCase{"ofTotal", "3/12", 3}, TrackCase{"letter", "A3", 0},
                      TrackCase{"low16Bits", "70000", 4464}, TrackCase{"dollarHex", "$1F", 31},
                      TrackCase{"zeroXHex", "0x10/0x20", 16}, TrackCase{"xHex", "X0A", 10},
                      TrackCase{"negative", "-1", 65535}, TrackCase{"plus", "+7", 7},
                      TrackCase{"outOfRange", "2147483648", 0},
                      TrackCase{"trailingLetter", "5b", 0},
                      // A zero byte inside the text ends the number.
                      TrackCase{"zeroByteEnds", std::string("12") + Zeros(1) + "x", 12},
                      TrackCase{"onlySlash", "/12", 0}),
    [](const auto& param) { return std::string(param.param.name); });

struct GenreCase {
  const char* name;
  std::string text;
  std::string genre;
};

class ID3v2GenreTest : public ID3v2Test, public ::testing::WithParamInterface<GenreCase> {};

TEST_P(ID3v2GenreTest, DropsTheParenthesisedPrefix) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TCON", Bytes({0}) + GetParam().text)));
  EXPECT_EQ(tag.Genre(), GetParam().genre);
}

INSTANTIATE_TEST_SUITE_P(Texts, ID3v2GenreTest,
                         ::testing::Values(GenreCase{"referenceAndName", "(17)Rock", "Rock"},
                                           GenreCase{"referenceOnly", "(17)", ""},
                                           GenreCase{"numberOnly", "17", "17"},
                                           GenreCase{"lastParenthesis", "(4)(17)Rock", "Rock"}),
                         [](const auto& param) { return std::string(param.param.name); });

struct DescribedCase {
  const char* name;
  std::string frame;
  std::string comment;
  std::string url;
};

class ID3v2DescribedTest : public ID3v2Test, public ::testing::WithParamInterface<DescribedCase> {};

TEST_P(ID3v2DescribedTest, TakesTheTextAfterTheDescription) {
  ASSERT_TRUE(LoadFrames(GetParam().frame));
  EXPECT_EQ(tag.Comment(), GetParam().comment);
  EXPECT_EQ(tag.UrlLink(), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ID3v2DescribedTest,
    ::testing::Values(
        DescribedCase{"commentEmptyDescription", Id3v2Frame("COMM", Bytes({0}) + "eng" + Zeros(1) + "Nice"),
                      "Nice", ""},
        DescribedCase{"commentWithDescription",
                      Id3v2Frame("COMM", Bytes({0}) + "eng" + "About" + Zeros(1) + "Nice"), "Nice", ""},
        // The description "Ab" ends with a character below U+0100: its zero byte and the
        // terminator's first byte form a pair off the two-byte grid, which is no separator.
        DescribedCase{"commentUtf16",
                      Id3v2Frame("COMM", Bytes({1}) + "eng" + Utf16Le("Ab") + Zeros(2) + Utf16Le("Nice")),
                      "Nice", ""},
        DescribedCase{"urlWithDescription",
                      Id3v2Frame("WXXX", Bytes({0}) + "Home" + Zeros(1) + "http://a.example/"), "",
                      "http://a.example/"},
        // The link itself is single-byte text whatever the description's encoding.
        DescribedCase{"urlUtf16Description",
                      Id3v2Frame("WXXX", Bytes({1}) + Utf16Le("Home") + Zeros(2) + "http://b/"), "",
                      "http://b/"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ID3v2Test, Version2UsesThreeLetterFrames) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame2("TT2", Bytes({0}) + "Title") +
                             Id3v2Frame2("TP1", Bytes({1}) + Utf16Le("Artist")) +
                             Id3v2Frame2("TRK", Bytes({0}) + "4/9") +
                             Id3v2Frame2("COM", Bytes({0}) + "eng" + Zeros(1) + "Words") +
                             Id3v2Frame2("TOR", Bytes({0}) + "1987"),
                         2));
  EXPECT_EQ(tag.TagVersion(), 2);
  EXPECT_EQ(tag.Title(), "Title");
  EXPECT_EQ(tag.Artist(), "Artist");
  EXPECT_EQ(tag.Track(), 4);
  EXPECT_EQ(tag.Comment(), "Words");
  EXPECT_EQ(tag.Year(), "1987");
}

TEST_F(ID3v2Test, FlaggedFrameIsPassedOverAndTheScanGoesOn) {
  // Bit 0x80 of the second flag byte.
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TIT2", Bytes({0}) + "Plain") +
                         Id3v2Frame("TIT2", Bytes({0}) + "Packed", 3, 0x80) +
                         Id3v2Frame("TPE1", Bytes({0}) + "After")));
  EXPECT_EQ(tag.Title(), "Plain");
  EXPECT_EQ(tag.Artist(), "After");
}

TEST_F(ID3v2Test, Version4SizesAreSynchSafe) {
  // A 200-byte title frame: synch-safe 00 00 01 48, which read plainly would be 328.
  const std::string longTitle = Bytes({0}) + std::string(199, 'L');
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TIT2", longTitle, 4) + Id3v2Frame("TPE1", Bytes({0}) + "After", 4), 4));
  EXPECT_EQ(tag.Title(), std::string(199, 'L'));
  EXPECT_EQ(tag.Artist(), "After");
}

TEST_F(ID3v2Test, Version3SizesArePlain) {
  const std::string longTitle = Bytes({0}) + std::string(199, 'L');
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TIT2", longTitle, 3) + Id3v2Frame("TPE1", Bytes({0}) + "After", 3), 3));
  EXPECT_EQ(tag.Artist(), "After");
}

TEST_F(ID3v2Test, LongFrameUsesItsFirst500BytesAndIsPassedOver) {
  // 600 data bytes: encoding, 498 letters A, then more letters B that are never read.
  const std::string data = Bytes({0}) + std::string(498, 'A') + std::string(101, 'B');
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TIT2", data) + Id3v2Frame("TPE1", Bytes({0}) + "Next")));
  EXPECT_EQ(tag.Title(), std::string(498, 'A') + "B");
  EXPECT_EQ(tag.Artist(), "Next");
}

TEST_F(ID3v2Test, HugeVersion3FrameSizeEndsTheScan) {
  const std::string frames = Id3v2Frame("TPE1", Bytes({0}) + "Before") + "TIT2" +
                             Bytes({0x80, 0, 0, 0, 0, 0, 0}) + "Huge" + Zeros(600);
  ASSERT_TRUE(LoadFrames(frames));
  EXPECT_EQ(tag.Artist(), "Before");
  EXPECT_EQ(tag.Title(), "");
}

TEST_F(ID3v2Test, FrameCutOffByTheFileEndIsNotUsed) {
  // The tag claims the whole file; the title frame declares more data than follows.
  const std::string body = Id3v2Frame("TPE1", Bytes({0}) + "Whole") + "TIT2" + BigEndianBytes(50, 4) +
                           Bytes({0, 0, 0}) + "Cut";
  ASSERT_TRUE(Load(Id3v2Tag(3, body)));
  EXPECT_EQ(tag.Artist(), "Whole");
  EXPECT_EQ(tag.Title(), "");
}

TEST_F(ID3v2Test, ExtendedHeaderIsNotSkipped) {
  // The scan starts at the extended header's size bytes and ends there.
  const std::string extended = Bytes({0, 0, 0, 6, 0, 0});
  ASSERT_TRUE(Load(Id3v2Header(3, 0x40, SynchSafeBytes(40)) + extended +
                   Id3v2Frame("TIT2", Bytes({0}) + "Word") + Zeros(30)));
  EXPECT_EQ(tag.Title(), "");
}

TEST_F(ID3v2Test, ScanStopsAtTheTagEnd) {
  // A frame that lies just after the declared tag end belongs to the audio.
  const std::string inside = Id3v2Frame("TPE1", Bytes({0}) + "In");
  ASSERT_TRUE(Load(Id3v2Tag(3, inside) + Id3v2Frame("TIT2", Bytes({0}) + "Out") + Zeros(20)));
  EXPECT_EQ(tag.Artist(), "In");
  EXPECT_EQ(tag.Title(), "");
}

TEST_F(ID3v2Test, ReadFailureInTheScanKeepsWhatWasRead) {
  // A picture of 100000 bytes between the two frames: the first read ends inside it, so
  // the frame behind it needs a read of its own.
  const std::string picture = Id3v2Frame("APIC", Bytes({0}) + Zeros(99999));
  ASSERT_TRUE(Load(Id3v2Tag(3, Id3v2Frame("TPE1", Bytes({0}) + "First") + picture +
                                   Id3v2Frame("TIT2", Bytes({0}) + "Second") + Zeros(10))));
  EXPECT_EQ(tag.Title(), "Second");
  // Reads: the file's start, with the header and the first frame; then the frame behind
  // the picture.
  os.FailOn("read", "a.mp3", kErrorReadFault, 1);
  EXPECT_TRUE(tag.LoadFromFile(path));
  EXPECT_EQ(tag.Artist(), "First");
  EXPECT_EQ(tag.Title(), "");
  EXPECT_EQ(os.CallsStartingWith({"Close("}).size(), 2u);
}

TEST_F(ID3v2Test, ReloadStartsFromTheClearedState) {
  ASSERT_TRUE(LoadFrames(Id3v2Frame("TIT2", Bytes({0}) + "Word")));
  ASSERT_TRUE(Load(std::string(100, 'x')));
  EXPECT_FALSE(tag.Present());
  EXPECT_EQ(tag.Title(), "");
}

TEST(DecodeTextTest, HandlesShortAndEmptyData) {
  test::FakePlatform os;
  EXPECT_EQ(DecodeText(os, ""), "");
  EXPECT_EQ(DecodeText(os, Bytes({1})), "");
  EXPECT_EQ(DecodeText(os, Bytes({1, 'a'})), "");  // half a unit
  EXPECT_EQ(DecodeText(os, Bytes({0})), "");
  EXPECT_EQ(TextAfterDescription(os, "", true), "");
  EXPECT_EQ(TextAfterDescription(os, Bytes({0, 'e'}), true), "");
}

TEST(DecodeTextTest, DescriptionWithoutSeparatorIsKept) {
  test::FakePlatform os;
  EXPECT_EQ(TextAfterDescription(os, Bytes({0}) + "engNoEnd", true), "NoEnd");
  EXPECT_EQ(TextAfterDescription(os, Bytes({1}) + "eng" + Bytes({0xFF, 0xFE, 'a', 0}), true), "a");
}

}  // namespace
}  // namespace plenvox
