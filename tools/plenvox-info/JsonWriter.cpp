#include "JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "common/Text.h"

namespace plenvox::info {

namespace {

void AppendByteAsCharacter(std::string& out, unsigned char byte) {
  if (byte == '"' || byte == '\\') {
    out += '\\';
    out += static_cast<char>(byte);
  } else if (byte < 0x20 || byte == 0x7F) {
    out += "\\u00";
    AppendHexByte(out, byte, HexCase::Lower);
  } else if (byte < 0x80) {
    out += static_cast<char>(byte);
  } else {
    // U+0080 to U+00FF take two bytes in UTF-8: 110000xx 10xxxxxx.
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
  }
}

}  // namespace

std::string JsonByteString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) AppendByteAsCharacter(out, static_cast<unsigned char>(c));
  out += '"';
  return out;
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!hasValue_.empty()) {
    if (hasValue_.back()) text_ += ',';
    hasValue_.back() = true;
  }
}

void JsonWriter::Open(char bracket) {
  BeforeValue();
  text_ += bracket;
  hasValue_.push_back(false);
}

void JsonWriter::Close(char bracket) {
  if (!hasValue_.empty()) hasValue_.pop_back();
  text_ += bracket;
}

void JsonWriter::BeginObject() { Open('{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open('['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view name) {
  BeforeValue();
  text_ += JsonByteString(name);
  text_ += ':';
  afterKey_ = true;
}

void JsonWriter::String(std::string_view bytes) {
  BeforeValue();
  text_ += JsonByteString(bytes);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
}

void JsonWriter::Integer(std::int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
}

void JsonWriter::Double(double value) {
  BeforeValue();
  text_ += JsonNumber(value);
}

}  // namespace plenvox::info
