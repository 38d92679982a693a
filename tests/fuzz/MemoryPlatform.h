// A platform whose only file lives in memory, so that a fuzz target hands its input to a
// reader by name without touching the disk. Everything else is the POSIX platform's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/PosixPlatform.h"

namespace plenvox::fuzz {

class MemoryPlatform : public PosixPlatform {
 public:
  // The one file, found under FileName(). A chunk size above 0 makes every read deliver
  // at most that many bytes, as a platform read may, to reach the buffer edges of a
  // reader with little input.
  explicit MemoryPlatform(std::string_view content, std::size_t chunkSize = 0)
      : content_(content), chunkSize_(chunkSize) {}

  static const std::string& FileName();

  std::unique_ptr<File> OpenRead(TTextEncoding pathEncoding, const std::string& path,
                                 std::uint32_t& error) override;
  using Platform::OpenRead;
  // Nothing is written anywhere.
  std::unique_ptr<File> CreateWrite(TTextEncoding pathEncoding, const std::string& path,
                                    std::uint32_t& error) override;
  using Platform::CreateWrite;

 private:
  std::string_view content_;
  std::size_t chunkSize_;
};

}  // namespace plenvox::fuzz
