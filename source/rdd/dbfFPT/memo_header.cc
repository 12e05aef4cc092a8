// MemoHeader: free lists in the header (version 2, SMT) and in their own block (versions 3, 4).
#include "dbfFPT/memo_header.h"

#include <algorithm>
#include <limits>

#include "fs/coding.h"

namespace pv::memo {
namespace {

uint16_t Decode16(const MemoFile& m, const uint8_t* p) {
  return m.memoType() == dbf::kMemoFpt ? DecodeBE16(p) : DecodeLE16(p);
}
void Encode16(const MemoFile& m, uint8_t* p, uint16_t v) {
  if (m.memoType() == dbf::kMemoFpt) {
    EncodeBE16(p, v);
  } else {
    EncodeLE16(p, v);
  }
}

bool HeaderList(const MemoFile& m) {
  return m.memoType() == dbf::kMemoSmt || (m.memoType() == dbf::kMemoFpt && m.version() == 2);
}
bool FlexList(const MemoFile& m) { return m.memoType() == dbf::kMemoFpt && m.version() >= 3; }

Status Corrupt(MemoFile& m, const char* what) { return Status::Corrupt(what, m.fileName()); }

}  // namespace

Status MemoHeader::Load(MemoFile& m, MemoHeader* out) {
  out->bytes_.assign(m.headerSize(), 0);
  Status st = m.file()->readExact(0, out->bytes_.data(), m.headerSize(), "short memo header");
  if (!st.ok()) return std::move(st.sub(kSubRead));
  uint32_t next_free = std::max(m.decode32(out->bytes_.data() + kHdrNextFree), m.firstBlock());
  out->loaded_next_free_ = next_free;
  size_t capacity = std::numeric_limits<size_t>::max();
  if (HeaderList(m)) capacity = kHeaderFreeCapacity;
  out->list_ = FreeList(next_free, capacity);
  if (HeaderList(m)) {
    const uint8_t* b = out->bytes_.data();
    int count = std::min<int>(Decode16(m, b + kHdrFreeCount), kHeaderFreeCapacity);
    for (int i = 0; i < count; ++i) {
      const uint8_t* e = b + kHdrFreeEntries + i * kFreeEntrySize;
      out->list_.load({m.decode32(e + 2), Decode16(m, e)}, m.firstBlock());
    }
  } else if (FlexList(m)) {
    st = out->loadFlexList(m);
    if (!st.ok()) return st;
  }
  out->loaded_ = out->list_.runs();
  return Status::Ok();
}

Status MemoHeader::loadFlexList(MemoFile& m) {
  flex_offset_ = m.decode32(bytes_.data() + kHdrFlexList);
  flex_copy_ = m.decode32(bytes_.data() + kHdrFlexCopy);
  if (flex_offset_ == 0) return Status::Ok();
  uint64_t size = 0;
  Status st = m.file()->size(&size);
  if (!st.ok()) return std::move(st.sub(kSubRead));
  if (flex_offset_ % m.blockSize() || flex_offset_ < m.headerSize() || flex_offset_ + 10ull > size) {
    return Corrupt(m, "bad free-list block offset");
  }
  uint8_t head[10];
  st = m.file()->readExact(flex_offset_, head, sizeof head, "short free-list block");
  if (!st.ok()) return std::move(st.sub(kSubRead));
  flex_data_ = m.decode32(head + 4);
  if (m.decode32(head) != kTypeFreeList || flex_data_ < 2 || flex_data_ > 65536 ||
      flex_offset_ + 8ull + flex_data_ > size) {
    return Corrupt(m, "bad free-list block");
  }
  list_ = FreeList(list_.nextFree(), (flex_data_ - 2) / kFlexEntrySize);
  uint32_t count = std::min<uint32_t>(Decode16(m, head + 8), (flex_data_ - 2) / kFlexEntrySize);
  std::vector<uint8_t> entries(count * kFlexEntrySize);
  st = m.file()->readExact(flex_offset_ + 10ull, entries.data(), entries.size(), "short free list");
  if (!st.ok()) return std::move(st.sub(kSubRead));
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = entries.data() + i * kFlexEntrySize;
    list_.load({m.decode32(e), m.decode32(e + 4)}, m.firstBlock());
  }
  return Status::Ok();
}

Status MemoHeader::storeHeaderList(MemoFile& m) {
  const auto& runs = list_.runs();
  size_t n = std::min<size_t>(runs.size(), kHeaderFreeCapacity);
  Encode16(m, bytes_.data() + kHdrFreeCount, uint16_t(n));
  std::fill(bytes_.begin() + kHdrFreeEntries,
            bytes_.begin() + kHdrFreeEntries + kHeaderFreeCapacity * kFreeEntrySize, 0);
  for (size_t i = 0; i < n; ++i) {  // the largest runs, which are last
    const FreeRun& r = runs[runs.size() - n + i];
    uint8_t* e = bytes_.data() + kHdrFreeEntries + i * kFreeEntrySize;
    Encode16(m, e, uint16_t(std::min<uint32_t>(r.count, 0xFFFF)));
    m.encode32(e + 2, r.block);
  }
  return Status::Ok();
}

Status MemoHeader::storeFlexList(MemoFile& m) {
  if (flex_offset_ == 0 && list_.runs().empty()) return Status::Ok();
  if (flex_offset_ == 0) {  // the list block is taken from the list itself
    uint32_t blocks = (kBlockHeader + kFlexListData + m.blockSize() - 1) / m.blockSize();
    flex_offset_ = list_.allocate(blocks) * m.blockSize();
    flex_data_ = kFlexListData;
  }
  const auto& runs = list_.runs();
  size_t n = std::min<size_t>(runs.size(), (flex_data_ - 2) / kFlexEntrySize);
  std::vector<uint8_t> block(kBlockHeader + flex_data_, 0);
  m.encode32(block.data(), kTypeFreeList);
  m.encode32(block.data() + 4, flex_data_);
  Encode16(m, block.data() + 8, uint16_t(n));
  for (size_t i = 0; i < n; ++i) {
    const FreeRun& r = runs[runs.size() - n + i];
    m.encode32(block.data() + 10 + i * kFlexEntrySize, r.block);
    m.encode32(block.data() + 14 + i * kFlexEntrySize, r.count);
  }
  for (uint32_t offset : {flex_offset_, flex_copy_}) {
    if (offset == 0) continue;
    Status st = m.file()->writeAt(offset, block.data(), block.size());
    if (!st.ok()) return std::move(st.sub(kSubWrite));
  }
  m.encode32(bytes_.data() + kHdrFlexList, flex_offset_);
  m.encode32(bytes_.data() + kHdrFlexCounter, m.decode32(bytes_.data() + kHdrFlexCounter) + 1);
  return markFreedRuns(m);
}

Status MemoHeader::markFreedRuns(MemoFile& m) {
  for (const FreeRun& r : list_.runs()) {
    if (std::find(loaded_.begin(), loaded_.end(), r) != loaded_.end()) continue;
    uint8_t head[kBlockHeader];
    m.encode32(head, kTypeFreeRun);
    m.encode32(head + 4, r.count * m.blockSize() - kBlockHeader);
    Status st = m.file()->writeAt(uint64_t(r.block) * m.blockSize(), head, sizeof head);
    if (!st.ok()) return std::move(st.sub(kSubWrite));
  }
  return Status::Ok();
}

Status MemoHeader::store(MemoFile& m) {
  Status st = HeaderList(m) ? storeHeaderList(m) : FlexList(m) ? storeFlexList(m) : Status::Ok();
  if (!st.ok()) return st;
  m.encode32(bytes_.data() + kHdrNextFree, list_.nextFree());
  st = m.file()->writeAt(0, bytes_.data(), bytes_.size());
  if (st.ok() && list_.nextFree() < loaded_next_free_) {
    st = m.file()->truncate(uint64_t(list_.nextFree()) * m.blockSize());
  }
  return st.ok() ? st : std::move(st.sub(kSubWrite));
}

}  // namespace pv::memo
