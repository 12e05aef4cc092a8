// MemoHeader: the header of a memo file and its free list, loaded for one write and stored back.
// Internal to the memo layer.
#pragma once

#include <vector>

#include "dbfFPT/memo_file.h"
#include "dbfFPT/memo_free_list.h"

namespace pv::memo {

class MemoHeader {
 public:
  // Reads the header and the free list (by version) of `m`.
  static Status Load(MemoFile& m, MemoHeader* out);

  FreeList& freeList() { return list_; }

  // Writes the free list and the header with the new next-free block; cuts the file when the
  // next-free block went down.
  Status store(MemoFile& m);

 private:
  Status loadFlexList(MemoFile& m);
  Status storeHeaderList(MemoFile& m);
  Status storeFlexList(MemoFile& m);
  Status markFreedRuns(MemoFile& m);

  std::vector<uint8_t> bytes_;
  FreeList list_{0, 0};
  std::vector<FreeRun> loaded_;
  uint32_t loaded_next_free_ = 0;
  uint32_t flex_offset_ = 0, flex_copy_ = 0, flex_data_ = kFlexListData;
};

}  // namespace pv::memo
