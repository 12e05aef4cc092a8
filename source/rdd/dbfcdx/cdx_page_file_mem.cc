// The in-memory index file.
#include <cstring>

#include "cdx_page_file.h"

namespace pv::cdx {

CdxStatus CdxMemFile::read(uint64_t off, void* buf, size_t len) {
  if (off > bytes_.size() || len > bytes_.size() - off)
    return CdxStatus::Error(kCdxReadFailed, "read beyond the end of the file");
  std::memcpy(buf, bytes_.data() + off, len);
  return {};
}

CdxStatus CdxMemFile::write(uint64_t off, const void* buf, size_t len) {
  if (++writes_ == failAt_) return CdxStatus::Error(kCdxWriteFailed, "simulated write failure");
  if (off + len > bytes_.size()) bytes_.resize(off + len);
  std::memcpy(bytes_.data() + off, buf, len);
  return {};
}

CdxStatus CdxMemFile::truncate(uint64_t size) {
  bytes_.resize(size);
  return {};
}

}  // namespace pv::cdx
