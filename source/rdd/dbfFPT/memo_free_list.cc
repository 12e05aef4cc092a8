// FreeList: release and allocation of memo block runs.
#include "dbfFPT/memo_free_list.h"

#include <algorithm>

namespace pv::memo {

void FreeList::insertSorted(FreeRun run) {
  auto pos = std::upper_bound(runs_.begin(), runs_.end(), run, [](const FreeRun& a, const FreeRun& b) {
    return a.count != b.count ? a.count < b.count : a.block < b.block;
  });
  runs_.insert(pos, run);
}

bool FreeList::overlaps(FreeRun run) const {
  return std::any_of(runs_.begin(), runs_.end(), [&](const FreeRun& r) {
    return run.block < r.block + r.count && r.block < run.block + run.count;
  });
}

void FreeList::load(FreeRun run, uint32_t first_block) {
  if (run.count == 0 || run.block < first_block || run.block > next_free_ ||
      run.count > next_free_ - run.block || overlaps(run) || runs_.size() >= capacity_) {
    return;
  }
  insertSorted(run);
}

void FreeList::absorbTail() {
  for (bool moved = true; moved;) {
    moved = false;
    for (auto it = runs_.begin(); it != runs_.end(); ++it) {
      if (it->block + it->count == next_free_) {
        next_free_ = it->block;
        runs_.erase(it);
        moved = true;
        break;
      }
    }
  }
}

void FreeList::release(uint32_t block, uint32_t count) {
  if (count == 0) return;
  FreeRun run{block, count};
  // Merge with neighbours on either side, as often as they touch.
  for (bool merged = true; merged;) {
    merged = false;
    for (auto it = runs_.begin(); it != runs_.end(); ++it) {
      if (it->block + it->count == run.block || run.block + run.count == it->block) {
        run = {std::min(run.block, it->block), run.count + it->count};
        runs_.erase(it);
        merged = true;
        break;
      }
    }
  }
  if (run.block + run.count == next_free_) {
    next_free_ = run.block;
    absorbTail();
    return;
  }
  if (runs_.size() >= capacity_) {
    if (runs_.empty() || runs_.front().count >= run.count) return;  // stays unreferenced
    runs_.erase(runs_.begin());
  }
  insertSorted(run);
}

uint32_t FreeList::allocate(uint32_t count) {
  for (auto it = runs_.begin(); it != runs_.end(); ++it) {
    if (it->count < count) continue;
    uint32_t block = it->block;
    FreeRun rest{it->block + count, it->count - count};
    runs_.erase(it);
    if (rest.count) insertSorted(rest);
    return block;
  }
  uint32_t block = next_free_;
  next_free_ += count;
  return block;
}

}  // namespace pv::memo
