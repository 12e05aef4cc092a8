// Packing a table together with its memo file: the kept records' memos are copied into a fresh
// temporary memo file, their references rewritten, and the temporary file copied over the memo
// file at the end.
#pragma once

#include "dbf/dbf_table.h"
#include "dbfFPT/memo_file.h"

namespace pv::memo {

// Packs `table` (exclusive, writable: else 1023 / 1025) and compacts `memo`. On failure before
// the final copy the memo file is unchanged; the temporary file is always deleted.
Status PackWithMemo(dbf::DbfTable& table, MemoFile& memo, const dbf::PackProgress& progress = {},
                    uint32_t step = 0);

// Whether the field keeps a memo reference (M, P, W, G, and V of 6 bytes or more).
bool IsMemoField(const dbf::Field& f);

}  // namespace pv::memo
