// A small streaming JSON writer for the tool's machine-readable output. Texts are byte
// strings without a character set of their own (tag fields, file names), so every byte
// 0x00 to 0xFF is written as the character with the same number: the output is valid
// UTF-8 JSON and a reader gets the original bytes back by taking each character's code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace plenvox::info {

// The JSON string literal (quotes included) whose characters U+0000 to U+00FF stand
// for the bytes of text, one each: quote and backslash escaped, control characters
// (0x00-0x1F and 0x7F) as \u00XX, bytes 0x80-0xFF as the UTF-8 of U+0080-U+00FF.
std::string JsonByteString(std::string_view text);

// The JSON number for value with full double precision (17 significant digits), so
// that reading it back gives the same double; null for infinities and NaN, which JSON
// cannot hold.
std::string JsonNumber(double value);

class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next member of the open object.
  void Key(std::string_view name);

  void String(std::string_view bytes);
  void Bool(bool value);
  void Integer(std::int64_t value);
  void Double(double value);

  // A member of the open object: Booleans as JSON Booleans, integers as plain numbers
  // (8-bit codes included, never as characters), floating point at full precision,
  // texts as byte strings.
  template <typename T>
  void Member(std::string_view name, const T& value) {
    Key(name);
    if constexpr (std::is_same_v<T, bool>) {
      Bool(value);
    } else if constexpr (std::is_integral_v<T>) {
      Integer(static_cast<std::int64_t>(value));
    } else if constexpr (std::is_floating_point_v<T>) {
      Double(static_cast<double>(value));
    } else {
      String(std::string_view(value));
    }
  }

  const std::string& Text() const { return text_; }

 private:
  // Writes the comma that separates this value from the one before it.
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);

  std::string text_;
  // One entry per open object or array: whether it already holds a value.
  std::vector<bool> hasValue_;
  bool afterKey_ = false;
};

}  // namespace plenvox::info
