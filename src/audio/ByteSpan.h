// A read-only run of bytes that a parser takes one on-disk structure from: a pointer and
// a length. Every read checks the length first, so that a structure cut short by the
// end of a file or a buffer is seen as cut short, never read past.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace plenvox {

class ByteSpan {
 public:
  constexpr ByteSpan() = default;
  constexpr ByteSpan(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  // Whole blocks and buffers stand for their bytes wherever a span is taken.
  template <std::size_t N>
  constexpr ByteSpan(const std::array<std::uint8_t, N>& bytes)
      : data_(bytes.data()), size_(N) {}
  ByteSpan(const std::vector<std::uint8_t>& bytes)
      : data_(bytes.data()), size_(bytes.size()) {}

  constexpr const std::uint8_t* data() const { return data_; }
  constexpr std::size_t size() const { return size_; }

  // The count bytes from at on all lie inside the span.
  constexpr bool Has(std::size_t at, std::size_t count) const {
    return at <= size_ && count <= size_ - at;
  }
  // The byte at index at; 0 for an index beyond the end.
  constexpr std::uint8_t At(std::size_t at) const { return at < size_ ? data_[at] : 0; }
  // At most count bytes from at on: shorter at the end, empty from beyond it.
  constexpr ByteSpan Sub(std::size_t at, std::size_t count = SIZE_MAX) const {
    if (at >= size_) return {};
    const std::size_t left = size_ - at;
    return {data_ + at, count < left ? count : left};
  }
  // The last count bytes, or all when there are fewer.
  constexpr ByteSpan Last(std::size_t count) const {
    return count < size_ ? Sub(size_ - count) : *this;
  }
  // At most count bytes from at on, as single-byte characters.
  std::string_view Text(std::size_t at, std::size_t count) const {
    const ByteSpan part = Sub(at, count);
    return {reinterpret_cast<const char*>(part.data_), part.size_};
  }
  // The bytes at index at are exactly these letters (case counts), all inside the span.
  bool LettersAt(std::size_t at, std::string_view letters) const {
    return Has(at, letters.size()) && std::memcmp(data_ + at, letters.data(), letters.size()) == 0;
  }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace plenvox
