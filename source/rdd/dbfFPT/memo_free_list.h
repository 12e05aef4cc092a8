// FreeList: the free runs of a memo file while one value is written.
//
// Runs are kept sorted by size, smallest first. `next_free` is the logical end of the file:
// blocks from there on are unused. Releasing a run that ends at `next_free` moves the end back;
// a run next to a free run is merged with it; otherwise it is added, and when the list is full
// it replaces the smallest entry if that one is smaller (the loser stays allocated, unreferenced).
// Allocating takes the smallest run that is large enough, from its start, else blocks at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pv::memo {

struct FreeRun {
  uint32_t block = 0;
  uint32_t count = 0;
  bool operator==(const FreeRun&) const = default;
};

class FreeList {
 public:
  FreeList(uint32_t next_free, size_t capacity) : next_free_(next_free), capacity_(capacity) {}

  // Adds a run read from the file; runs outside [first_block, next_free) or overlapping others
  // are ignored, since using them could overwrite live memos.
  void load(FreeRun run, uint32_t first_block);

  void release(uint32_t block, uint32_t count);
  uint32_t allocate(uint32_t count);

  uint32_t nextFree() const { return next_free_; }
  const std::vector<FreeRun>& runs() const { return runs_; }

 private:
  void insertSorted(FreeRun run);
  bool overlaps(FreeRun run) const;
  // Moves the end back over runs that end at it.
  void absorbTail();

  std::vector<FreeRun> runs_;
  uint32_t next_free_;
  size_t capacity_;
};

}  // namespace pv::memo
