// libFuzzer target: the first byte picks the memo kind (FPT, DBT or SMT) and a block, the rest is
// the memo file. Opening must fail cleanly or give a file whose blocks can be read and decoded;
// then a value is written over the block read (freeing its run) and read back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dbfFPT/memo_file.h"
#include "dbfFPT/memo_typed.h"
#include "fs/memory_file.h"

using namespace pv;
using namespace pv::memo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 1 << 20) return 0;
  const int kinds[] = {dbf::kMemoFpt, dbf::kMemoDbt, dbf::kMemoSmt};
  MemoOpenOptions options;
  options.memo_type = kinds[data[0] % 3];
  options.blob = (data[0] & 0x80) != 0 && options.memo_type == dbf::kMemoFpt;
  std::vector<uint8_t> bytes(data + 1, data + size);
  std::unique_ptr<MemoFile> m;
  if (!MemoFile::OpenHandle(std::make_unique<MemoryFile>(bytes, "fuzz.fpt"), options, &m).ok())
    return 0;
  uint32_t smt_length = data[0] * 7u;
  uint32_t first = m->firstBlock(), last = first + 64, chosen = first + (data[0] >> 2) % 64;
  MemoValue v;
  for (uint32_t b = 0; b < last; ++b) {
    uint32_t len = 0;
    m->length(b, smt_length, &len);
    if (m->read(b, smt_length, &v).ok()) DecodeTyped(v);
  }
  uint32_t fresh = 0;
  if (!m->read(chosen, smt_length, &v).ok()) return 0;
  v.data.append("fuzz");
  if (m->write(chosen, smt_length, v, &fresh).ok())
    m->read(fresh, uint32_t(v.data.size()), &v);
  return 0;
}
