#include "MemoryPlatform.h"

#include <algorithm>
#include <cstring>

namespace plenvox::fuzz {

namespace {

// A read-only file over bytes owned by the caller, positioned like a system file: a
// position past the end is allowed and reads nothing there.
class MemoryFile : public File {
 public:
  MemoryFile(std::string_view content, std::size_t chunkSize)
      : content_(content), chunkSize_(chunkSize) {}

  bool Read(void* buffer, std::size_t size, std::size_t& got) override {
    got = 0;
    if (closed_) return Fail(kErrorAccessDenied);
    if (position_ >= content_.size()) return true;
    got = std::min(size, content_.size() - position_);
    if (chunkSize_ > 0) got = std::min(got, chunkSize_);
    std::memcpy(buffer, content_.data() + position_, got);
    position_ += got;
    return true;
  }
  bool Write(const void*, std::size_t) override { return Fail(kErrorAccessDenied); }
  bool Seek(std::int64_t offset) override {
    if (closed_) return Fail(kErrorAccessDenied);
    if (offset < 0) return Fail(kErrorNegativeSeek);
    position_ = static_cast<std::uint64_t>(offset);
    return true;
  }
  bool Size(std::int64_t& size) override {
    if (closed_) return Fail(kErrorAccessDenied);
    size = static_cast<std::int64_t>(content_.size());
    return true;
  }
  bool Close() override {
    if (closed_) return Fail(kErrorAccessDenied);
    closed_ = true;
    return true;
  }
  std::uint32_t Error() const override { return error_; }

 private:
  bool Fail(std::uint32_t code) {
    error_ = code;
    return false;
  }

  std::string_view content_;
  std::size_t chunkSize_;
  std::uint64_t position_ = 0;
  bool closed_ = false;
  std::uint32_t error_ = 0;
};

}  // namespace

const std::string& MemoryPlatform::FileName() {
  static const std::string kName = "memory:input.mp3";
  return kName;
}

std::unique_ptr<File> MemoryPlatform::OpenRead(TTextEncoding, const std::string& path,
                                               std::uint32_t& error) {
  if (path != FileName()) {
    error = kErrorFileNotFound;
    return nullptr;
  }
  error = 0;
  return std::make_unique<MemoryFile>(content_, chunkSize_);
}

std::unique_ptr<File> MemoryPlatform::CreateWrite(TTextEncoding, const std::string&,
                                                  std::uint32_t& error) {
  error = kErrorAccessDenied;
  return nullptr;
}

}  // namespace plenvox::fuzz
