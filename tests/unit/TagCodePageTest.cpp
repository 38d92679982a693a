// 8-bit tag texts on the POSIX platform, whose ANSI code page is UTF-8: the code page that
// [Mode] TagCodePage names goes through iconv; without one, text that is no valid UTF-8 is
// ISO-8859-1. The Windows platform's conversion is the system's, seen in the formats
// scenario under Wine.
#include "audio/DescribeAudio.h"
#include "platform/posix/PosixPlatform.h"

#include <gtest/gtest.h>

namespace plenvox {
namespace {

TEST(TagCodePageTest, EightBitTextsInTheCodePageGiven) {
  PosixPlatform os;
  const std::string cp1251 = "\xC3\xF0\xF3\xEF\xEF\xE0";  // "Группа" in code page 1251
  const struct {
    std::uint32_t codePage;
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {1251, cp1251, "Группа"},
      {0, cp1251, "\xC3\x83\xC3\xB0\xC3\xB3\xC3\xAF\xC3\xAF\xC3\xA0"},  // ISO-8859-1: "Ãðóïïà"
      {0, "Caf\xE9", "Café"},
      {1252, "\x80 5", "€ 5"},
      {0, "Группа", "Группа"},     // valid UTF-8 stays UTF-8, whatever the code page
      {1251, "Группа", "Группа"},
      {1253, "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1", "Καλημέρα"},
      {12345, "Caf\xE9", "Café"},  // a code page that iconv lacks: ISO-8859-1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TCodePageTagText(os, c.codePage).EightBit(c.bytes), c.utf8) << c.codePage << " " << c.bytes;
  }
}

}  // namespace
}  // namespace plenvox
