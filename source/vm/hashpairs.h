// The pairs of a hash in one block: the values at positions 0..capacity-1 and the keys after
// them. A hash without key items (keys 1..n) leaves the keys' half untouched, and taking keys
// moves no value. The block grows in place with realloc and items move bit for bit, so a large
// hash grows without copying its items or holding old and new storage at once, and a small one
// costs a single allocation.
#pragma once

#include <cstdlib>
#include <cstring>
#include <utility>

#include "errint.h"
#include "item.h"

class PvHashPairs {
 public:
  PvHashPairs() = default;
  PvHashPairs(const PvHashPairs&) = delete;
  PvHashPairs& operator=(const PvHashPairs&) = delete;
  ~PvHashPairs() { std::free(data_); }

  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  PvItem& value(size_t i) { return data_[i]; }
  PvItem& key(size_t i) { return data_[capacity_ + i]; }  // only with keys

  // Appends a pair of NILs (a value alone without keys); returns its position.
  size_t push(bool keyed) {
    if (size_ == capacity_) relayout(capacity_ ? capacity_ * 2 : 1, keyed);
    value(size_) = PvItem{PV_IT_NIL, {}};
    if (keyed) key(size_) = PvItem{PV_IT_NIL, {}};
    return size_++;
  }
  void pop() { --size_; }
  void truncate(size_t n) { size_ = n; }  // the items beyond n must have been let go
  void reserve(size_t n, bool keyed) {
    if (n > capacity_) relayout(n, keyed);
  }
  void swap(PvHashPairs& other) {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

 private:
  // Gives the block room for n pairs; the keys, if it has them, move to their new place.
  void relayout(size_t n, bool keyed) {
    void* p = std::realloc(static_cast<void*>(data_), 2 * n * sizeof(PvItem));
    if (!p) pv_errInternal(9006, nullptr, nullptr, nullptr);
    data_ = static_cast<PvItem*>(p);
    if (keyed) std::memmove(static_cast<void*>(data_ + n), data_ + capacity_, size_ * sizeof(PvItem));
    capacity_ = static_cast<uint32_t>(n);
  }

  PvItem* data_ = nullptr;
  uint32_t size_ = 0;
  uint32_t capacity_ = 0;
};
