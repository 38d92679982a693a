// The text formats of plenvox-info: lossless JSON byte strings, JSON numbers, the JSON
// writer's structure, the m:ss play time and the terminal-safe text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "JsonWriter.h"
#include "PlayTimeText.h"

namespace plenvox::info {
namespace {

using namespace std::string_literals;

struct EscapeCase {
  std::string bytes;
  std::string json;
};

TEST(JsonByteStringTest, WritesEachByteAsTheCharacterWithItsNumber) {
  const EscapeCase cases[] = {
      {"", R"("")"},
      {"Title", R"("Title")"},
      {"a\"b\\c", R"("a\"b\\c")"},
      {"\0\0\0\0"s, R"("\u0000\u0000\u0000\u0000")"},
      {"\x01\x09\x0A\x1F", R"("\u0001\u0009\u000a\u001f")"},
      {"\x7F", R"("\u007f")"},
      {" ~/", R"(" ~/")"},
      {"\x80", "\"\xC2\x80\""},
      {"\xBF\xC0", "\"\xC2\xBF\xC3\x80\""},
      {"Caf\xE9", "\"Caf\xC3\xA9\""},
      {"\xFF", "\"\xC3\xBF\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JsonByteString(c.bytes), c.json) << "for " << c.bytes.size() << " bytes";
  }
}

// Reads back a JSON string literal as the writer produces it: \uXXXX below U+0100, the
// two-character escapes, and two-byte UTF-8 sequences; returns each character's number
// as one byte. Fails the test on anything else.
std::string DecodeByteString(const std::string& json) {
  EXPECT_GE(json.size(), 2u);
  EXPECT_EQ(json.front(), '"');
  EXPECT_EQ(json.back(), '"');
  std::string bytes;
  for (std::size_t i = 1; i + 1 < json.size(); ++i) {
    const auto c = static_cast<unsigned char>(json[i]);
    if (c == '\\') {
      const char kind = json.at(++i);
      if (kind == 'u') {
        const unsigned long code = std::strtoul(json.substr(i + 1, 4).c_str(), nullptr, 16);
        EXPECT_LT(code, 0x100u);
        bytes += static_cast<char>(code);
        i += 4;
      } else {
        EXPECT_TRUE(kind == '"' || kind == '\\') << kind;
        bytes += kind;
      }
    } else if (c >= 0xC0) {
      const auto next = static_cast<unsigned char>(json.at(++i));
      EXPECT_EQ(next & 0xC0, 0x80);
      bytes += static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F));
    } else {
      EXPECT_GE(c, 0x20) << "raw control byte in JSON";
      EXPECT_LT(c, 0x80) << "lone continuation byte";
      bytes += static_cast<char>(c);
    }
  }
  return bytes;
}

TEST(JsonByteStringTest, EveryByteValueComesBackUnchanged) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(DecodeByteString(JsonByteString(all)), all);
}

TEST(JsonNumberTest, KeepsFullDoublePrecision) {
  for (double value : {261.22448979591837, 0.1, -5.5, 1e-300, 4.9406564584124654e-324,
                       std::numeric_limits<double>::max()}) {
    const std::string text = JsonNumber(value);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
  }
  EXPECT_EQ(JsonNumber(0.0), "0");
  EXPECT_EQ(JsonNumber(417.0), "417");
}

TEST(JsonNumberTest, NoNumberBecomesNull) {
  EXPECT_EQ(JsonNumber(std::nan("")), "null");
  EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "null");
}

TEST(JsonWriterTest, SeparatesMembersAndNestedValues) {
  JsonWriter json;
  json.BeginObject();
  json.Member("file", std::string("a.mp3"));
  json.Member("loaded", true);
  json.Member("PlayTime", 2.5);
  json.Key("Frame");
  json.BeginObject();
  json.Key("Header");
  json.BeginArray();
  for (int b : {0xFF, 0xFB, 0x90, 0x64}) json.Integer(b);
  json.EndArray();
  json.Member("Confirmed", false);
  json.EndObject();
  json.Key("Empty");
  json.BeginArray();
  json.EndArray();
  json.Member("Offset", std::int32_t{-3});
  json.EndObject();
  EXPECT_EQ(json.Text(),
            R"({"file":"a.mp3","loaded":true,"PlayTime":2.5,)"
            R"("Frame":{"Header":[255,251,144,100],"Confirmed":false},"Empty":[],"Offset":-3})");
}

TEST(JsonWriterTest, WritesSmallCodesAsNumbersNotCharacters) {
  JsonWriter json;
  json.BeginObject();
  json.Member("LayerCode", std::uint8_t{65});
  json.Member("GenreNumber", std::uint8_t{255});
  json.Member("Track", std::uint16_t{4464});
  json.EndObject();
  EXPECT_EQ(json.Text(), R"({"LayerCode":65,"GenreNumber":255,"Track":4464})");
}

struct PlayTimeCase {
  double seconds;
  const char* text;
};

TEST(MinutesSecondsTest, CountsWholeSecondsLikeTheListing) {
  const PlayTimeCase cases[] = {
      {0.0, "0:00"},          {0.999, "0:00"},        {9.5, "0:09"},
      {59.999, "0:59"},       {60.0, "1:00"},         {261.22448979591837, "4:21"},
      {3599.9, "59:59"},      {3600.0, "60:00"},      {4503.9, "75:03"},
      {-5.5, "-0:05"},        {-61.0, "-1:01"},       {-0.5, "0:00"},
      {3.0e8, "5000000:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(MinutesSeconds(c.seconds), c.text) << c.seconds;
}

TEST(MinutesSecondsTest, NoNumberOrOutOfRangeGivesPlaceholder) {
  EXPECT_EQ(MinutesSeconds(std::nan("")), "?:??");
  EXPECT_EQ(MinutesSeconds(std::numeric_limits<double>::infinity()), "?:??");
  EXPECT_EQ(MinutesSeconds(-1e300), "?:??");
}

TEST(PrintableTest, EscapesControlBytesOnly) {
  EXPECT_EQ(Printable("Rock & Roll"), "Rock & Roll");
  EXPECT_EQ(Printable("a\x01" "b\x1B[2J\x7F"), "a\\x01b\\x1B[2J\\x7F");
  EXPECT_EQ(Printable("\0\0"s), "\\x00\\x00");
  EXPECT_EQ(Printable("C:\\Music\\Caf\xE9.mp3"), "C:\\Music\\Caf\xE9.mp3");
}

}  // namespace
}  // namespace plenvox::info
