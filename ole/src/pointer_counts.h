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
  std::uint64_t* Find(const void* p);
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
  std::size_t Home(const void* p) const;
  std::size_t IndexOf(const void* p) const;  // the slot of p, or the free slot where it would go
  void Grow();

  std::vector<Slot> slots_;  // size a power of two (or 0), at most half used
  std::size_t size_ = 0;
};

}  // namespace ole
