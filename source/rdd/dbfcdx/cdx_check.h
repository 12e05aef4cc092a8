// The structure checker of a CDX file: every tree page reachable exactly once, sibling links
// of every level, interior entries equal to their child's last key and record, key order,
// leaf free-space arithmetic, the free list, and no page lost. With a key function it also
// checks that each record has exactly its key in every tag without a FOR condition. Also the
// repair that gives lost pages back to the free list.
#pragma once

#include <string>
#include <vector>

#include "cdx_index.h"

namespace pv::cdx {

struct CdxCheckOptions {
  // When set: the key each record 1..recCount must have in a tag (false: no key expected).
  std::function<bool(const CdxTag& tag, uint32_t rec, CdxKey& out)> keyOf;
  uint32_t recCount = 0;
  // Also require zero bytes between a leaf's entries and its key data (this system's writer
  // clears them; other writers leave old bytes there).
  bool strictGap = false;
};

struct CdxCheckReport {
  std::vector<std::string> lines;  // what was checked, one line per tag and for the free list
  uint64_t treePages = 0;
  uint64_t freePages = 0;
  uint64_t unaccountedPages = 0;   // pages neither in a tree, a header nor the free list
};

// Checks the whole file as it is on disk (takes the read lock). The first fault found is
// returned as kCdxCorrupt with a text naming the tag, the page and what is wrong; pages that
// belong to no tag and are not on the free list (lost space) are a fault too.
CdxStatus cdxCheckIndex(CdxIndex& index, CdxCheckReport& report,
                        const CdxCheckOptions& options = {});
// Checks the file's structure and puts its lost pages on the free list (under the write
// lock); reclaimed receives their number. A structural fault is returned and nothing changes.
CdxStatus cdxReclaimLostPages(CdxIndex& index, CdxCheckReport& report, uint64_t& reclaimed);

}  // namespace pv::cdx
