#include "audio/ID3v1.h"

#include <gtest/gtest.h>

#include "AudioBytes.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using namespace test;

class ID3v1Test : public ::testing::Test {
 protected:
  // Loads a file of bytes into the reader and returns the result.
  bool Load(const std::string& bytes) {
    const std::string path = dir / "a.mp3";
    WriteFile(path, bytes);
    return tag.LoadFromFile(path);
  }
  // A tag with the given comment-field bytes 97..126 set through the 30 comment bytes.
  static std::string WithComment(const std::string& comment30) {
    return Id3v1Block(std::string(94, '\0') + comment30 + Bytes({7}));
  }
  void ExpectCleared() const {
    EXPECT_FALSE(tag.Present());
    EXPECT_EQ(tag.TagVersion(), 1);
    EXPECT_EQ(tag.Title(), "");
    EXPECT_EQ(tag.Comment(), "");
    EXPECT_EQ(tag.Track(), 0);
    EXPECT_EQ(tag.GenreNumber(), 255);
  }
  TempDir dir;
  FakePlatform os;
  TID3v1 tag{os};
};

TEST_F(ID3v1Test, ReadsEveryFieldOfAVersion11Tag) {
  const std::string fields = std::string("Title") + Zeros(25) + "Artist" + Zeros(24) + "Album" +
                             Zeros(25) + "2004" + "Comment" + Zeros(21) + Bytes({0, 5, 17});
  ASSERT_TRUE(Load(Zeros(300) + Id3v1Block(fields)));
  EXPECT_TRUE(tag.Present());
  EXPECT_EQ(tag.TagVersion(), 2);
  EXPECT_EQ(tag.Title(), "Title");
  EXPECT_EQ(tag.Artist(), "Artist");
  EXPECT_EQ(tag.Album(), "Album");
  EXPECT_EQ(tag.Year(), "2004");
  EXPECT_EQ(tag.Comment(), "Comment");
  EXPECT_EQ(tag.Track(), 5);
  EXPECT_EQ(tag.GenreNumber(), 17);
}

TEST_F(ID3v1Test, FileOfExactly128BytesIsATagAnd127BytesFail) {
  EXPECT_TRUE(Load(Id3v1Block("Song")));
  EXPECT_TRUE(tag.Present());
  EXPECT_EQ(tag.Title(), "Song");

  EXPECT_FALSE(Load(Id3v1Block("Song").substr(0, 127)));
  ExpectCleared();
}

TEST_F(ID3v1Test, MarkerMustMatchWithCase) {
  EXPECT_TRUE(Load("tag" + Id3v1Block("Song").substr(3)));
  ExpectCleared();
}

TEST_F(ID3v1Test, MissingOrUnreadableFileFailsAndClears) {
  ASSERT_TRUE(Load(Id3v1Block("Song")));
  EXPECT_FALSE(tag.LoadFromFile(dir / "missing.mp3"));
  ExpectCleared();

  ASSERT_TRUE(Load(Id3v1Block("Song")));
  os.FailOn("read", "a.mp3");
  EXPECT_FALSE(tag.LoadFromFile(dir / "a.mp3"));
  ExpectCleared();
}

TEST_F(ID3v1Test, FileIsClosedAfterEachLoad) {
  ASSERT_TRUE(Load(Id3v1Block("Song")));
  EXPECT_FALSE(tag.LoadFromFile(dir / "short"));  // does not exist: nothing opened
  WriteFile(dir / "short", "abc");
  EXPECT_FALSE(tag.LoadFromFile(dir / "short"));
  const auto opens = os.CallsStartingWith({"OpenRead(", "Close("});
  ASSERT_EQ(opens.size(), 5u);
  EXPECT_EQ(opens[1], "Close(" + (dir / "a.mp3") + ")");
  EXPECT_EQ(opens[4], "Close(" + (dir / "short") + ")");
}

struct VersionCase {
  const char* name;
  int byte125;
  int byte126;
  int version;
  int track;
  std::string comment;
};

class ID3v1VersionTest : public ID3v1Test, public ::testing::WithParamInterface<VersionCase> {};

// The comment field is "Remark" padded to 28 bytes with blanks (which the trim removes),
// then bytes 125 and 126 as the case gives them.
TEST_P(ID3v1VersionTest, DecidesByTheLastTwoCommentBytes) {
  const VersionCase& c = GetParam();
  ASSERT_TRUE(Load(WithComment("Remark" + std::string(22, ' ') + Bytes({c.byte125, c.byte126}))));
  EXPECT_EQ(tag.TagVersion(), c.version);
  EXPECT_EQ(tag.Track(), c.track);
  EXPECT_EQ(tag.Comment(), c.comment);
  EXPECT_EQ(tag.GenreNumber(), 7);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes125And126, ID3v1VersionTest,
    ::testing::Values(VersionCase{"zeroThenTrack", 0x00, 0x05, 2, 5, "Remark"},
                      VersionCase{"bothZero", 0x00, 0x00, 1, 0, "Remark"},
                      VersionCase{"blankThenLetter", 0x20, 0x78, 2, 120, "Remark"},
                      VersionCase{"bothBlank", 0x20, 0x20, 1, 0, "Remark"},
                      // The comment runs into the last two bytes: all 30 are kept.
                      VersionCase{"lettersRunOn", 0x41, 0x42, 1, 0,
                                  "Remark" + std::string(22, ' ') + "AB"},
                      VersionCase{"zeroThenBlank", 0x00, 0x20, 2, 32, "Remark"},
                      VersionCase{"blankThenZero", 0x20, 0x00, 2, 0, "Remark"}),
    [](const auto& param) { return std::string(param.param.name); });

struct TrimCase {
  const char* name;
  std::string title;
  std::string expected;
};

class ID3v1TrimTest : public ID3v1Test, public ::testing::WithParamInterface<TrimCase> {};

TEST_P(ID3v1TrimTest, RemovesTrailingFillerOnly) {
  ASSERT_TRUE(Load(Id3v1Block(GetParam().title)));
  EXPECT_EQ(tag.Title(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, ID3v1TrimTest,
    ::testing::Values(TrimCase{"blanks", "Song" + std::string(26, ' '), "Song"},
                      TrimCase{"innerZerosStay", "Song" + Zeros(2) + "abc", "Song" + Zeros(2) + "abc"},
                      TrimCase{"leadingBlanksStay", "  Song", "  Song"},
                      TrimCase{"controlBytes", "Song\t\r\n\x01\x1F", "Song"},
                      TrimCase{"allFiller", std::string(30, ' '), ""},
                      TrimCase{"highBytesStay", "Caf\xE9", "Caf\xE9"},
                      // The field is 30 bytes: the artist field's letters do not join it.
                      TrimCase{"fullWidth", std::string(30, 'x') + "Artist", std::string(30, 'x')}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ID3v1Test, GenreNumberIsKeptAsStored) {
  for (int genre : {0, 147, 148, 200, 255}) {
    ASSERT_TRUE(Load(Id3v1Block(Zeros(124) + Bytes({genre}))));
    EXPECT_EQ(tag.GenreNumber(), genre);
  }
}

}  // namespace
}  // namespace plenvox
