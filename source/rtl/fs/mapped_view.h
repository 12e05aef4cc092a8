// MappedView: reads of a file served from a read-only shared mapping of it, where they give the
// same bytes as pread (a local file system, whose page cache every handle shares), without a
// system call per read.
//
// Only bytes inside the mapped length are served; the caller reads the rest with pread and may
// map again once the file has grown. A file cut shorter by another process after it was mapped
// would make the mapped pages beyond the new end fault (SIGBUS): a handler, installed with the
// first view, answers a fault inside the view being read with zero pages and marks the view
// torn, so the read reports failure and the caller goes back to pread, which sees the new end.
// Faults anywhere else go to the handler that was there before.
//
//   std::unique_ptr<pv::MappedView> v = pv::MappedView::Map(fd, size);
//   if (!v || !v->read(offset, buf, n)) { /* pread */ }
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pv {

class MappedView {
 public:
  // Maps the first `size` bytes of `fd` read-only; nullptr when the system refuses or size is 0.
  static std::unique_ptr<MappedView> Map(int fd, uint64_t size);
  ~MappedView();
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;

  // Copies `n` bytes at `offset` into `buf`: false (nothing served) when they are not all inside
  // the view or the view is torn.
  bool read(uint64_t offset, void* buf, size_t n);

  uint64_t size() const { return size_; }
  bool torn() const { return torn_; }

 private:
  MappedView(char* base, uint64_t size) : base_(base), size_(size) {}
  friend bool MappedViewFault(MappedView* view, char* address);

  char* base_;
  uint64_t size_;
  volatile bool torn_ = false;
};

}  // namespace pv
