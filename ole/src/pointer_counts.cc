// PointerCounts: linear probing over a power-of-two array kept at most half full.
#include "pointer_counts.h"

namespace ole {

std::size_t PointerCounts::Home(const void* p) const {
  auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
  v *= 0x9E3779B97F4A7C15ull;  // Fibonacci hashing: the high bits mix every bit of the address
  return static_cast<std::size_t>(v >> 32) & (slots_.size() - 1);
}

std::size_t PointerCounts::IndexOf(const void* p) const {
  std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(p);
  while (slots_[i].key && slots_[i].key != p) i = (i + 1) & mask;
  return i;
}

std::uint64_t* PointerCounts::Find(const void* p) {
  if (!p || slots_.empty()) return nullptr;
  Slot& s = slots_[IndexOf(p)];
  return s.key ? &s.count : nullptr;
}

void PointerCounts::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 64 : 2 * old.size(), Slot{});
  for (const Slot& s : old)
    if (s.key) slots_[IndexOf(s.key)] = s;
}

void PointerCounts::Add(const void* p) {
  if (!p) return;
  if (2 * (size_ + 1) > slots_.size()) Grow();
  Slot& s = slots_[IndexOf(p)];
  if (!s.key) {
    s.key = p;
    ++size_;
  }
  ++s.count;
}

bool PointerCounts::Remove(const void* p) {
  if (!p || slots_.empty()) return false;
  std::size_t mask = slots_.size() - 1;
  std::size_t hole = IndexOf(p);
  if (!slots_[hole].key) return false;
  if (--slots_[hole].count > 0) return true;
  // Entries after the hole whose home lies at or before it move back into it.
  for (std::size_t i = (hole + 1) & mask; slots_[i].key; i = (i + 1) & mask) {
    std::size_t home = Home(slots_[i].key);
    bool movable = hole <= i ? (home <= hole || home > i) : (home <= hole && home > i);
    if (movable) {
      slots_[hole] = slots_[i];
      hole = i;
    }
  }
  slots_[hole] = Slot{};
  --size_;
  return true;
}

}  // namespace ole
