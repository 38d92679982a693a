// One byte string as one field of a tab-separated line: tabs, line ends, other control
// bytes and bytes from 0x7F up are written as \xNN (two lower-case hex digits); every
// other byte, the backslash included, stands for itself.
#pragma once

#include <string>
#include <string_view>

namespace plenvox::e2e {

std::string EscapedText(std::string_view bytes);

}  // namespace plenvox::e2e
