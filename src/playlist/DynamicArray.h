// The pending-change lists of an edit batch: TDynamicArray collects the paths of files
// to add, TDynamicArrayI the numbers of entries to remove.
//
// A list is created when its batch starts and destroyed when the batch ends; in C++
// that is the lifetime of the object (the batch holds it in a std::unique_ptr, made at
// the start and reset at the end), so construction is Create and destruction Destroy.
//
// The storage grows geometrically, so that a batch of n items costs n, not n squared;
// DelLast keeps the room. Items keep the order in which they came.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace plenvox {

// Raised when a list would get a negative number of items.
class RangeError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

template <typename Item>
class TDynamicArrayOf {
 public:
  TDynamicArrayOf() = default;
  TDynamicArrayOf(const TDynamicArrayOf&) = delete;
  TDynamicArrayOf& operator=(const TDynamicArrayOf&) = delete;
  TDynamicArrayOf(TDynamicArrayOf&&) noexcept = default;
  TDynamicArrayOf& operator=(TDynamicArrayOf&&) noexcept = default;

  std::int32_t Count() const { return count_; }
  const std::vector<Item>& Items() const { return items_; }

  void Add(Item item) {
    SetCount(count_ + 1);
    items_.back() = std::move(item);
  }

  // Raises RangeError on an empty list, which stays empty.
  void DelLast() { SetCount(count_ - 1); }

 private:
  // Gives the list n items, keeping the first min(n, Count) and filling new ones with
  // the empty value; Count follows only once the storage has its size, so a failed
  // allocation (std::bad_alloc) leaves the list as it was.
  void SetCount(std::int32_t n) {
    if (n < 0) throw RangeError("a list cannot hold a negative number of items");
    items_.resize(static_cast<std::size_t>(n));
    count_ = n;
  }

  std::int32_t count_ = 0;
  std::vector<Item> items_;
};

using TDynamicArray = TDynamicArrayOf<std::string>;
using TDynamicArrayI = TDynamicArrayOf<std::int32_t>;

}  // namespace plenvox
