// UTF-8 and UTF-16, the two Unicode forms that meet in the plug-in: the player's UTF-8
// playlist and the host's UTF-16 texts. Conversions never fail: what does not form a
// character becomes a replacement character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plenvox {

constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Bytes that do not form a character (a stray continuation byte, a cut sequence, an
// overlong or surrogate form, a value beyond U+10FFFF) become U+FFFD, one per byte.
std::u16string Utf8ToUtf16(std::string_view text);

// A surrogate without its partner becomes the replacement character.
std::string Utf16ToUtf8(std::u16string_view text, char32_t replacement = kReplacementCharacter);

// Appends the UTF-8 form of one character (a code point up to U+10FFFF).
void AppendUtf8(std::string& out, char32_t character);

// The longest start of text that ends at a character boundary and takes at most
// maxBytes bytes.
std::string_view Utf8PrefixOfBytes(std::string_view text, std::size_t maxBytes);

// The longest start of text, in whole characters, whose UTF-16 form takes at most
// maxUnits units (a character beyond U+FFFF takes two).
std::string_view Utf8PrefixOfUnits(std::string_view text, std::size_t maxUnits);

// The first maxUnits units of text, one fewer when the last would be the first half of
// a surrogate pair.
std::u16string_view Utf16Prefix(std::u16string_view text, std::size_t maxUnits);

}  // namespace plenvox
