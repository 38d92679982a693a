#include "PlayTimeText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "common/Text.h"

namespace plenvox::info {

std::string MinutesSeconds(double seconds) {
  // Past 2^62 seconds the whole number no longer fits the counter below; no file gets
  // near (a VBR header's frame count gives at most about 3 * 10^8 seconds).
  if (!std::isfinite(seconds) || std::fabs(seconds) >= 0x1p62) return "?:??";
  const auto whole = static_cast<std::int64_t>(seconds);  // toward zero
  const std::int64_t magnitude = whole < 0 ? -whole : whole;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%lld:%02lld", whole < 0 ? "-" : "",
                static_cast<long long>(magnitude / 60), static_cast<long long>(magnitude % 60));
  return buffer;
}

std::string Printable(std::string_view bytes) {
  return HexEscaped(
      bytes, [](unsigned char byte) { return byte < 0x20 || byte == 0x7F; }, "\\x", HexCase::Upper);
}

}  // namespace plenvox::info
