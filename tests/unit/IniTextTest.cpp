#include "common/IniText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "IniLookupCases.h"

namespace plenvox {
namespace {

// Every case of the table that the probe under Wine checks against the system's own
// reader (tests/e2e, group "settings"), here against the portable reader.
TEST(IniLookupTest, AnswersAsTheSystemsReader) {
  std::ifstream in(PLENVOX_REFERENCE_DIR "/ini-lookup.cases", std::ios::binary);
  ASSERT_TRUE(in) << "no table at " PLENVOX_REFERENCE_DIR;
  std::ostringstream text;
  text << in.rdbuf();
  const auto cases = reference::ParseIniLookupCases(text.str());
  ASSERT_GT(cases.size(), 30u);
  for (const auto& c : cases) {
    EXPECT_EQ(LookUpIniValue(c.Text, c.Section, c.Key, c.Fallback), c.Answer) << c.Name;
  }
}

struct QuoteCase {
  const char* name;
  std::string value;
  std::string written;
};

class QuoteTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteTest, QuotesOnlyWhatTheReaderWouldChange) {
  EXPECT_EQ(QuoteIniValue(GetParam().value), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Values, QuoteTest,
    ::testing::Values(QuoteCase{"plain", "C:\\Winamp\\", "C:\\Winamp\\"},
                      QuoteCase{"empty", "", ""},
                      QuoteCase{"leadingBlank", " a", "\" a\""},
                      QuoteCase{"trailingTab", "a\t", "\"a\t\""},
                      QuoteCase{"enclosedInQuotes", "\"a b\"", "\"\"a b\"\""},
                      QuoteCase{"enclosedInApostrophes", "'a'", "\"'a'\""},
                      QuoteCase{"mixedQuotesStay", "'a\"", "'a\""},
                      QuoteCase{"oneQuoteStays", "\"", "\""},
                      QuoteCase{"quoteInsideStays", "a\"b\"", "a\"b\""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(IniTextTest, LineBreaksAndZerosCannotBeStored) {
  EXPECT_TRUE(IsStorableIniValue("a=b;c \"d\""));
  EXPECT_FALSE(IsStorableIniValue("a\nb"));
  EXPECT_FALSE(IsStorableIniValue("a\rb"));
  EXPECT_FALSE(IsStorableIniValue(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace plenvox
