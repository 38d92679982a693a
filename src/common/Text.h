// Small text helpers shared by the subsystems and tools: the 255-character cut of short
// strings, ASCII-only case folding, the integer syntax that the settings and the tag
// readers accept, and hexadecimal escapes of bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plenvox {

// Longest text that a short string holds.
constexpr std::size_t kShortStringMax = 255;

// The first 255 characters of text.
std::string CutShort(std::string_view text);

// Turns the letters A to Z to lower case; every other byte stays.
std::string LowerAscii(std::string_view text);

// Parses a 32-bit integer: optional leading blanks, an optional "+" or "-", then
// decimal digits whose value lies in the signed 32-bit range, or hexadecimal digits
// (either case) after "$", "x", "X", "0x" or "0X" whose value fits in 32 bits (read
// as the signed number with the same bits). Nothing may follow the digits. Returns
// false, leaving value alone, for anything else.
bool ParseInt32(std::string_view text, std::int32_t& value);

// Appends the byte as two hexadecimal digits, in lower or upper case.
enum class HexCase { Lower, Upper };
void AppendHexByte(std::string& out, unsigned char byte, HexCase letters);

// The bytes with every byte for which escape holds written as prefix and two hex
// digits; the others stand for themselves.
std::string HexEscaped(std::string_view bytes, bool (*escape)(unsigned char), std::string_view prefix,
                       HexCase letters);

// Replaces every occurrence of pattern, matched with case, scanning left to right
// without overlap. An empty pattern replaces nothing.
std::string ReplaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement);

}  // namespace plenvox
