#include "common/TextEncoding.h"
#include "common/Utf8.h"

#include <gtest/gtest.h>

namespace plenvox {
namespace {

// Cyrillic (two bytes a letter), CJK (three), an emoji (four bytes, a surrogate pair).
const std::string kMixed = "\xD0\x96-\xE6\x9D\xB1-\xF0\x9F\x8E\xB5";
const std::u16string kMixedWide = u"\u0416-\u6771-\U0001F3B5";

TEST(Utf8Test, ConvertsBothWaysAndReplacesWhatFormsNoCharacter) {
  EXPECT_EQ(Utf8ToUtf16(kMixed), kMixedWide);
  EXPECT_EQ(Utf16ToUtf8(kMixedWide), kMixed);
  const struct {
    const char* bytes;
    const char16_t* wide;
  } malformed[] = {
      {"a\x80" "b", u"a\uFFFDb"},         // a stray continuation byte
      {"\xD0", u"\uFFFD"},                // a sequence cut at the end
      {"\xC0\x80", u"\uFFFD\uFFFD"},      // an overlong form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate written as UTF-8
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const auto& c : malformed) EXPECT_EQ(Utf8ToUtf16(c.bytes), c.wide) << c.bytes;
  EXPECT_EQ(Utf16ToUtf8(u"a\xD800" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00", U'?'), "?");
}

TEST(Utf8Test, PrefixesEndAtCharacterBoundaries) {
  // Bytes: 2 + 1 + 3 + 1 + 4; UTF-16 units: 1 + 1 + 1 + 1 + 2.
  const std::size_t byteCases[][2] = {{0, 0}, {1, 0}, {2, 2}, {5, 3}, {6, 6}, {10, 7}, {11, 11}, {99, 11}};
  for (const auto& c : byteCases) EXPECT_EQ(Utf8PrefixOfBytes(kMixed, c[0]).size(), c[1]) << c[0];
  const std::size_t unitCases[][2] = {{0, 0}, {1, 2}, {3, 6}, {4, 7}, {5, 7}, {6, 11}};
  for (const auto& c : unitCases) EXPECT_EQ(Utf8PrefixOfUnits(kMixed, c[0]).size(), c[1]) << c[0];
  EXPECT_EQ(Utf16Prefix(kMixedWide, 5), kMixedWide.substr(0, 4)) << "a pair is not split";
  EXPECT_EQ(Utf16Prefix(kMixedWide, 6), kMixedWide);
}

TEST(TextEncodingTest, LinesAndNamesAreCutByTheRulesOfTheirEncoding) {
  const std::string cyrillic300 = [] {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "\xD0\x96";
    return text;
  }();
  EXPECT_EQ(CutLine(TTextEncoding::Ansi, cyrillic300).size(), 255u);
  EXPECT_EQ(CutName(TTextEncoding::Ansi, cyrillic300).size(), 255u);
  EXPECT_EQ(CutLine(TTextEncoding::Utf8, cyrillic300), cyrillic300) << "600 bytes stay whole";
  EXPECT_EQ(CutLine(TTextEncoding::Utf8, std::string(kUtf8LineMax + 5, 'x')).size(), kUtf8LineMax);
  EXPECT_EQ(CutName(TTextEncoding::Utf8, cyrillic300), cyrillic300.substr(0, 2 * kWideNameMax));
  EXPECT_EQ(PlaylistFileName("winamp.m3u", TTextEncoding::Ansi), "winamp.m3u");
  EXPECT_EQ(PlaylistFileName("winamp.m3u", TTextEncoding::Utf8), "winamp.m3u8");
}

}  // namespace
}  // namespace plenvox
