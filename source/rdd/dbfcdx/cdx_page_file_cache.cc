// The page cache over an index file in exclusive use: whole aligned pages are kept as read
// or written; every write goes to the file, and a partial one drops the pages it touches.
#include <cstring>

#include "cdx_format.h"
#include "cdx_page_file.h"

namespace pv::cdx {

namespace {

constexpr size_t kMaxCachedPages = 65536;  // 32 MB

}  // namespace

CdxStatus CdxCachedFile::read(uint64_t off, void* buf, size_t len) {
  if (len != kPageSize || off % kPageSize) return file_->read(off, buf, len);
  auto it = pages_.find(off);
  if (it != pages_.end()) {
    std::memcpy(buf, it->second.data(), kPageSize);
    return {};
  }
  CdxStatus s = file_->read(off, buf, len);
  if (!s.ok()) return s;
  if (pages_.size() >= kMaxCachedPages) pages_.erase(pages_.begin());  // any one page goes
  std::memcpy(pages_[off].data(), buf, kPageSize);
  return s;
}

CdxStatus CdxCachedFile::write(uint64_t off, const void* buf, size_t len) {
  for (uint64_t p = off / kPageSize * kPageSize; p < off + len; p += kPageSize) pages_.erase(p);
  CdxStatus s = file_->write(off, buf, len);
  if (s.ok() && len == kPageSize && off % kPageSize == 0) {  // a whole page written stays cached
    if (pages_.size() >= kMaxCachedPages) pages_.erase(pages_.begin());
    std::memcpy(pages_[off].data(), buf, kPageSize);
  }
  return s;
}

CdxStatus CdxCachedFile::truncate(uint64_t size) {
  pages_.clear();
  return file_->truncate(size);
}

}  // namespace pv::cdx
