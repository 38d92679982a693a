#include "EscapedText.h"

#include "common/Text.h"

namespace plenvox::e2e {

std::string EscapedText(std::string_view bytes) {
  return HexEscaped(
      bytes, [](unsigned char byte) { return byte < 0x20 || byte >= 0x7F; }, "\\x", HexCase::Lower);
}

}  // namespace plenvox::e2e
