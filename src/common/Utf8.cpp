#include "common/Utf8.h"

namespace plenvox {

namespace {

constexpr char32_t kLastCharacter = 0x10FFFF;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The length of the sequence that a lead byte starts, 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The smallest character that needs a sequence of this length (shorter forms are overlong).
char32_t SmallestOfLength(std::size_t length) {
  return length == 2 ? 0x80 : length == 3 ? 0x800 : length == 4 ? 0x10000 : 0;
}

// Decodes the character at text[at]; length receives the bytes it takes (1 for a byte
// that forms none, which then decodes as U+FFFD).
char32_t DecodeAt(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = 1;
  const std::size_t want = SequenceLength(lead);
  if (want == 1) return lead;
  if (want == 0 || at + want > text.size()) return kReplacementCharacter;
  char32_t character = lead & (0x7F >> want);
  for (std::size_t k = 1; k < want; ++k) {
    const auto byte = static_cast<unsigned char>(text[at + k]);
    if (!IsContinuation(byte)) return kReplacementCharacter;
    character = (character << 6) | (byte & 0x3F);
  }
  if (character < SmallestOfLength(want) || character > kLastCharacter ||
      IsHighSurrogate(character) || IsLowSurrogate(character)) {
    return kReplacementCharacter;
  }
  length = want;
  return character;
}

std::size_t Utf16Units(char32_t character) { return character > 0xFFFF ? 2 : 1; }

void AppendUtf16(std::u16string& out, char32_t character) {
  if (character > 0xFFFF) {
    character -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (character >> 10));
    out += static_cast<char16_t>(0xDC00 + (character & 0x3FF));
  } else {
    out += static_cast<char16_t>(character);
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
    AppendUtf16(out, DecodeAt(text, at, length));
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t character) {
  if (character < 0x80) {
    out += static_cast<char>(character);
  } else if (character < 0x800) {
    out += static_cast<char>(0xC0 | (character >> 6));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else if (character < 0x10000) {
    out += static_cast<char>(0xE0 | (character >> 12));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (character >> 18));
    out += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (character & 0x3F));
  }
}

std::string Utf16ToUtf8(std::u16string_view text, char32_t replacement) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00u));
    } else {
      AppendUtf8(out, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? replacement : unit);
    }
  }
  return out;
}

std::string_view Utf8PrefixOfBytes(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Back to the start of the character that the cut would split.
  while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) --end;
  std::size_t length = 0;
  if (end < maxBytes) DecodeAt(text, end, length);
  // A lead byte whose sequence does not fit stays out; stray continuation bytes are
  // characters of their own (they decode one by one) and may stay.
  return text.substr(0, end + length <= maxBytes ? end + length : end);
}

std::string_view Utf8PrefixOfUnits(std::string_view text, std::size_t maxUnits) {
  std::size_t units = 0;
  std::size_t at = 0;
  for (std::size_t length = 0; at < text.size(); at += length) {
    const char32_t character = DecodeAt(text, at, length);
    if (units + Utf16Units(character) > maxUnits) break;
    units += Utf16Units(character);
  }
  return text.substr(0, at);
}

std::u16string_view Utf16Prefix(std::u16string_view text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  const bool splitsPair = maxUnits > 0 && IsHighSurrogate(text[maxUnits - 1]);
  return text.substr(0, splitsPair ? maxUnits - 1 : maxUnits);
}

}  // namespace plenvox
