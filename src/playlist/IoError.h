#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace plenvox {

// The one failure that reading and writing playlist files raises: an open, read,
// write or close that did not succeed, with the system's error code.
class IoError : public std::runtime_error {
 public:
  IoError(std::uint32_t code, const std::string& what)
      : std::runtime_error(what + " (system error " + std::to_string(code) + ")"), code_(code) {}
  std::uint32_t Code() const noexcept { return code_; }

 private:
  std::uint32_t code_;
};

}  // namespace plenvox
