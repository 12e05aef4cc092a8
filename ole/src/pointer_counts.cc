// PointerCounts: linear probing over a power-of-two array kept at most half full.
#include "pointer_counts.h"

namespace ole {

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
