// libFuzzer target: any bytes as a table file. Opening must fail cleanly or give a table whose
// every record and field (and memo, reading the same bytes as an FPT file) can be read; then an
// append and a pack run on the in-memory copy.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dbf/dbf_codec.h"
#include "dbf/dbf_table.h"
#include "dbfFPT/memo_file.h"
#include "fs/memory_file.h"

namespace {

using namespace pv;
using namespace pv::dbf;

void ReadField(DbfTable& t, memo::MemoFile* memo, const Field& f, const uint8_t* rec) {
  double num;
  GetNumber(f, rec, &num);
  GetText(f, rec, t.nullFlags());
  IsNull(f, rec, t.nullFlags());
  GetLogical(f, rec);
  GetDate(f, rec);
  GetDateTime(f, rec);
  if (f.type == FieldType::kTimeOfDay) GetTimeOfDay(f, rec);
  uint32_t block = 0;
  if (memo && IsMemoType(f.type) && GetMemoBlock(f, rec, &block).ok()) {
    memo::MemoValue v;
    memo->read(block, 0, &v);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  std::unique_ptr<DbfTable> t;
  if (!DbfTable::OpenHandle(std::make_unique<MemoryFile>(bytes, "fuzz.dbf"), {}, &t).ok()) return 0;
  std::unique_ptr<memo::MemoFile> memo;
  memo::MemoFile::OpenHandle(std::make_unique<MemoryFile>(bytes, "fuzz.fpt"), {}, &memo);
  std::vector<uint8_t> rec(t->recordLength());
  uint32_t limit = std::min<uint32_t>(t->recordCount(), 256);
  for (uint32_t n = 1; n <= limit; ++n) {
    if (!t->readRecord(n, rec.data()).ok()) continue;
    for (const Field& f : t->fields()) ReadField(*t, memo.get(), f, rec.data());
  }
  t->blankRecord(rec.data());
  uint32_t recno = 0;
  t->append(rec.data(), &recno);
  if (t->recordCount() <= 256) t->pack();
  return 0;
}
