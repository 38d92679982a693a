// The cover extraction below what the end-to-end pictures reach through mutagen's tags:
// frame flags, extended headers, unsynchronisation, descriptions in UTF-16, links, the
// order of the folder's pictures, and the scaling's arithmetic.
#include "picture/CoverArt.h"

#include <gtest/gtest.h>

#include "AudioBytes.h"
#include "picture/ImageScale.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace plenvox {
namespace {

using namespace test;

// The structure of a JPEG of 48x32 that the sniffing accepts (no decodable pixels), with
// one 0xFF byte in its scan data, stuffed as 0xFF 0x00.
std::string Jpeg(int marker) {
  return Bytes({0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 32, 0, 48, 1, 1, 0x11, 0, 0xFF, 0xDA, 0, 8, 1, 1,
                0, 0, 0x3F, 0, marker, 0xFF, 0x00, 0xFF, 0xD9});
}

std::string Text(const std::optional<TCoverPicture>& cover) {
  return cover ? std::string(cover->Bytes.begin(), cover->Bytes.end()) : "none";
}

std::string Apic(int type, const std::string& picture, int encoding = 0, const std::string& description = "") {
  return Bytes({encoding}) + "image/jpeg" + Zeros(1) + Bytes({type}) + description +
         Zeros(encoding == 1 ? 2 : 1) + picture;
}

struct EmbeddedCase {
  const char* Name;
  std::string File;
  std::string Expected;  // the picture's bytes, empty for none
};

class CoverArtTest : public ::testing::Test {
 protected:
  std::optional<TCoverPicture> Cover(const std::string& name) {
    return ReadCoverArt(os, TTextEncoding::Ansi, dir / name);
  }
  TempDir dir;
  FakePlatform os;
};

TEST_F(CoverArtTest, EmbeddedPicturesOfEveryTagForm) {
  const std::string front = Jpeg(0x12), other = Jpeg(0x34);
  const std::string audio(100, 'a');
  std::string unsynced;
  for (char c : front) unsynced += c == '\xFF' ? std::string("\xFF\0", 2) : std::string(1, c);
  const std::string lengthFirst = BigEndianBytes(static_cast<std::uint32_t>(front.size()), 4);
  const EmbeddedCase cases[] = {
      {"front cover after another", Id3v2Tag(3, Id3v2Frame("APIC", Apic(0, other)) + Id3v2Frame("APIC", Apic(3, front))) + audio, front},
      {"first picture without a front cover", Id3v2Tag(3, Id3v2Frame("APIC", Apic(4, other)) + Id3v2Frame("APIC", Apic(0, front))) + audio, other},
      {"UTF-16 description", Id3v2Tag(3, Id3v2Frame("APIC", Apic(3, front, 1, Utf16Le("Front")))) + audio, front},
      {"version 2.2", Id3v2Tag(2, Id3v2Frame2("PIC", Bytes({0}) + "JPG" + Bytes({3}) + "d" + Zeros(1) + front)) + audio, front},
      {"version 3 compressed frame passed over", Id3v2Tag(3, Id3v2Frame("APIC", Apic(3, other), 3, 0x80) + Id3v2Frame("APIC", Apic(0, front))) + audio, front},
      {"version 4 encrypted frame passed over", Id3v2Tag(4, Id3v2Frame("APIC", Apic(3, other), 4, 0x04) + Id3v2Frame("APIC", Apic(0, front), 4)) + audio, front},
      {"version 4 unsynchronised with its data length", Id3v2Tag(4, Id3v2Frame("APIC", lengthFirst + Apic(3, unsynced), 4, 0x03)) + audio, front},
      {"version 3 extended header", Id3v2Header(3, 0x40, SynchSafeBytes(10 + 30 + static_cast<std::uint32_t>(Apic(3, front).size()) + 10)) + BigEndianBytes(6, 4) + Zeros(6) + Id3v2Frame("APIC", Apic(3, front)) + Zeros(10) + audio, front},
      {"version 3 unsynchronised tag: none", Id3v2Header(3, 0x80, SynchSafeBytes(static_cast<std::uint32_t>(Id3v2Frame("APIC", Apic(3, front)).size()))) + Id3v2Frame("APIC", Apic(3, front)) + audio, ""},
      {"a link: none", Id3v2Tag(3, Id3v2Frame("APIC", Bytes({0}) + "-->" + Zeros(1) + Bytes({3}) + Zeros(1) + "http://x/a.jpg")) + audio, ""},
      {"declared past the tag's end: none", Id3v2Tag(3, Id3v2Frame("APIC", Apic(3, front)).substr(0, 4) + BigEndianBytes(5000, 4) + Zeros(2) + Apic(3, front)) + audio, ""},
      {"no image: none", Id3v2Tag(3, Id3v2Frame("APIC", Apic(3, "not a picture at all"))) + audio, ""},
      {"cut short: none", Id3v2Tag(3, Id3v2Frame("APIC", Apic(3, front.substr(0, 26)))) + audio, ""},
  };
  for (const EmbeddedCase& c : cases) {
    WriteFile(dir / "a.mp3", c.File);
    const auto cover = Cover("a.mp3");
    if (c.Expected.empty()) {
      EXPECT_FALSE(cover) << c.Name;
      continue;
    }
    ASSERT_TRUE(cover) << c.Name;
    EXPECT_EQ(Text(cover), c.Expected) << c.Name;
    EXPECT_EQ(cover->Source, TCoverSource::Embedded) << c.Name;
    EXPECT_EQ(cover->Info.Width, 48u) << c.Name;
    EXPECT_EQ(cover->Info.Height, 32u) << c.Name;
  }
}

TEST_F(CoverArtTest, FolderPicturesInTheirOrderAfterTheEmbeddedOne) {
  WriteFile(dir / "a.mp3", std::string(100, 'a'));
  EXPECT_FALSE(Cover("a.mp3"));
  WriteFile(dir / "front.png", "no image");  // not an image: the next name is tried
  WriteFile(dir / "front.jpg", Jpeg(1));
  EXPECT_EQ(Text(Cover("a.mp3")), Jpeg(1));
  WriteFile(dir / "folder.jpeg", Jpeg(2));
  EXPECT_EQ(Text(Cover("a.mp3")), Jpeg(2));
  WriteFile(dir / "cover.jpg", Jpeg(3));
  const auto cover = Cover("a.mp3");
  ASSERT_TRUE(cover);
  EXPECT_EQ(Text(cover), Jpeg(3));
  EXPECT_EQ(cover->Source, TCoverSource::Folder);
  EXPECT_FALSE(Cover("missing.mp3"));  // a missing file has no cover, whatever its folder holds
  WriteFile(dir / "b.mp3", Id3v2Tag(3, Id3v2Frame("APIC", Apic(3, Jpeg(4)))));
  const auto embedded = Cover("b.mp3");
  ASSERT_TRUE(embedded);
  EXPECT_EQ(embedded->Source, TCoverSource::Embedded);
}

TEST(ImageScaleTest, FitsKeepingTheAspectAndAveragesOverWhite) {
  EXPECT_EQ(FitInside({600, 400}, {96, 96}).Height, 64u);
  EXPECT_EQ(FitInside({600, 400}, {200, 50}).Width, 75u);
  EXPECT_EQ(FitInside({50, 40}, {1000, 1000}).Width, 50u);  // never enlarged
  EXPECT_EQ(FitInside({1, 5000}, {96, 96}).Width, 1u);      // at least one pixel
  EXPECT_EQ(FitInside({0, 10}, {96, 96}).Width, 0u);
  // Two opaque pixels (blue 0 and 200) and two transparent ones: over white, the mean.
  const std::uint8_t pixels[] = {0, 0, 0, 255, 200, 100, 50, 255, 9, 9, 9, 0, 9, 9, 9, 0};
  const auto one = ScaleDown(pixels, sizeof pixels, 8, {2, 2}, {1, 1});
  ASSERT_EQ(one.size(), 4u);
  EXPECT_EQ(one[0], (0 + 200 + 255 + 255 + 2) / 4);
  EXPECT_EQ(one[2], (0 + 50 + 255 + 255 + 2) / 4);
  EXPECT_EQ(one[3], 255);
  EXPECT_TRUE(ScaleDown(pixels, sizeof pixels, 8, {2, 2}, {3, 3}).empty());  // no enlarging
  EXPECT_TRUE(ScaleDown(pixels, 8, 8, {2, 2}, {1, 1}).empty());             // too few bytes
}

}  // namespace
}  // namespace plenvox
