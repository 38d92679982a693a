#include "common/Text.h"

#include <gtest/gtest.h>

namespace plenvox {
namespace {

TEST(ReplaceAllTest, ReplacesEveryOccurrenceLeftToRightWithoutOverlap) {
  const struct {
    const char* text;
    const char* pattern;
    const char* replacement;
    const char* expected;
  } cases[] = {
      {"a%x%b%x%", "%x%", "Y", "aYbY"},
      {"aaaa", "aa", "b", "bb"},
      {"aaa", "aa", "b", "ba"},
      {"abc", "ABC", "x", "abc"},  // letter case counts
      {"abc", "", "x", "abc"},
      {"", "a", "x", ""},
      {"xax", "a", "aa", "xaax"},  // the replacement is not scanned again
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.expected) << c.text << " / " << c.pattern;
  }
}

TEST(LowerAsciiTest, FoldsOnlyLettersAToZ) {
  EXPECT_EQ(LowerAscii("Quote SAVE"), "quote save");
  EXPECT_EQ(LowerAscii("\xC4\xD6@[`{Z"), "\xC4\xD6@[`{z");
}

TEST(CutShortTest, KeepsAtMost255Characters) {
  EXPECT_EQ(CutShort(std::string(300, 'x')).size(), 255u);
  EXPECT_EQ(CutShort("abc"), "abc");
}

TEST(ParseInt32Test, LeavesValueAloneOnFailure) {
  std::int32_t value = 77;
  EXPECT_FALSE(ParseInt32("12 ", value));  // nothing may follow the digits
  EXPECT_FALSE(ParseInt32("- 1", value));
  EXPECT_FALSE(ParseInt32("0x-1", value));
  EXPECT_EQ(value, 77);
  EXPECT_TRUE(ParseInt32("-$10", value));
  EXPECT_EQ(value, -16);
  EXPECT_TRUE(ParseInt32("0XfF", value));
  EXPECT_EQ(value, 255);
}

}  // namespace
}  // namespace plenvox
