// The unit of reading of the MPEG audio analyser: every block it takes from a file has
// the same fixed size, so that a frame of the longest length starting anywhere in the
// first half still has its successor header inside the block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace plenvox {

// The longest frame the search provides for: MPEG 1 Layer II at 384 kbit/s and 32000 Hz,
// padded (1728 + 1 bytes).
constexpr std::size_t MaxFrameLength = 1729;
constexpr std::size_t BlockSize = 2 * MaxFrameLength;

using Block = std::array<std::uint8_t, BlockSize>;

}  // namespace plenvox
