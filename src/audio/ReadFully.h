// Reading from a platform file until a buffer is full or the file ends. A single read
// of the platform may deliver fewer bytes than asked without being at the end; the
// audio readers only want to know how much of the file there was.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Platform.h"

namespace plenvox {

// Reads up to size bytes; got receives how many came. False only when a read fails.
inline bool ReadUpTo(File& file, void* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  while (got < size) {
    std::size_t chunk = 0;
    if (!file.Read(bytes + got, size - got, chunk)) return false;
    if (chunk == 0) break;
    got += chunk;
  }
  return true;
}

}  // namespace plenvox
