// A growable array of items that grows in place with realloc: items move bit for bit, so a
// large array grows without copying its items or holding the old and new storage at once.
#pragma once

#include <cstdlib>
#include <cstring>
#include <utility>

#include "errint.h"
#include "item.h"

class PvItemVector {
 public:
  PvItemVector() = default;
  PvItemVector(const PvItemVector&) = delete;
  PvItemVector& operator=(const PvItemVector&) = delete;
  ~PvItemVector() { std::free(data_); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  size_t capacity() const { return capacity_; }
  PvItem& operator[](size_t i) { return data_[i]; }
  PvItem* begin() { return data_; }
  PvItem* end() { return data_ + size_; }
  PvItem& back() { return data_[size_ - 1]; }

  void push_back(const PvItem& item) {
    if (size_ == capacity_) reallocate(capacity_ ? capacity_ * 2 : 1);
    data_[size_++] = item;
  }
  void pop_back() { --size_; }
  void clear() { size_ = 0; }
  void reserve(size_t n) {
    if (n > capacity_) reallocate(n);
  }
  void resize(size_t n, const PvItem& fill) {
    reserve(n);
    while (size_ < n) data_[size_++] = fill;
    size_ = n;
  }
  // Removes the item at `at`; the ones after it move down.
  void erase(PvItem* at) {
    std::memmove(static_cast<void*>(at), at + 1, static_cast<size_t>(end() - at - 1) * sizeof(PvItem));
    --size_;
  }
  void swap(PvItemVector& other) {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

 private:
  void reallocate(size_t n) {
    void* p = std::realloc(static_cast<void*>(data_), n * sizeof(PvItem));
    if (!p) pv_errInternal(9006, nullptr, nullptr, nullptr);
    data_ = static_cast<PvItem*>(p);
    capacity_ = n;
  }

  PvItem* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};
