// A map from interface pointers to counts, kept in one flat array (open addressing with linear
// probing, removal by shifting the following entries back), so adding and removing a pointer
// costs no allocation once the array has grown to the largest number held at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ole {

class PointerCounts {
 public:
  // The count of `p`, nullptr when `p` has none. Valid until the next Add or Remove.
  std::uint64_t* Find(const void* p) {
    if (!p || slots_.empty()) return nullptr;
    Slot& s = slots_[IndexOf(p)];
    return s.key ? &s.count : nullptr;
  }
  // Adds one to the count of `p` (entering it with 1).
  void Add(const void* p);
  // Takes one from the count of `p`; at 0 the pointer leaves the map. False when `p` has no
  // count.
  bool Remove(const void* p);
  std::size_t Size() const { return size_; }

 private:
  struct Slot {
    const void* key = nullptr;  // nullptr: free
    std::uint64_t count = 0;
  };
  std::size_t Home(const void* p) const {
    auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
    v *= 0x9E3779B97F4A7C15ull;  // Fibonacci hashing: the high bits mix every bit of the address
    return static_cast<std::size_t>(v >> 32) & (slots_.size() - 1);
  }
  // The slot of p, or the free slot where it would go.
  std::size_t IndexOf(const void* p) const {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = Home(p);
    while (slots_[i].key && slots_[i].key != p) i = (i + 1) & mask;
    return i;
  }
  void Grow();

  std::vector<Slot> slots_;  // size a power of two (or 0), at most half used
  std::size_t size_ = 0;
};

}  // namespace ole
