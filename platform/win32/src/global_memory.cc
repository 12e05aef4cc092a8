// Global memory blocks (GlobalAlloc and friends) and the size bound for templates passed by
// address, taken from the block or resource that holds them.
#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "dialog.h"
#include "state.h"
#include "win32/kernel.h"
#include "win32/resources.h"

namespace pv::win32 {

struct GlobalBlock : Object {
  GlobalBlock() : Object(Kind::Global) {}
  std::vector<unsigned char> bytes;
  int locks = 0;
};

namespace {

// Where each block's bytes live, so that a pointer into one can be bounded.
std::map<const unsigned char*, size_t>& extents() {
  static std::map<const unsigned char*, size_t> map;
  return map;
}

GlobalBlock* block(HGLOBAL h) { return state().handles.find<GlobalBlock>(handleValue(h), Kind::Global); }

void track(GlobalBlock* b, bool add) {
  if (b->bytes.empty()) return;
  if (add)
    extents()[b->bytes.data()] = b->bytes.size();
  else
    extents().erase(b->bytes.data());
}

}  // namespace

size_t templateSizeLimit(const void* data) {
  auto p = static_cast<const unsigned char*>(data);
  auto& map = extents();
  auto it = map.upper_bound(p);
  if (it != map.begin()) {
    --it;
    if (p < it->first + it->second) return static_cast<size_t>(it->first + it->second - p);
  }
  // A template from elsewhere: its items cannot lie further than the largest template the
  // 16-bit counts allow to describe.
  return 65536;
}

}  // namespace pv::win32

using namespace pv::win32;

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
  if (bytes > (SIZE_T(1) << 31)) return nullptr;
  auto b = std::make_unique<GlobalBlock>();
  try {
    b->bytes.assign(bytes, 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  GlobalBlock* raw = b.get();
  uint32_t v = state().handles.add(std::move(b));
  track(raw, true);
  return makeHandle<HGLOBAL>(v);
}

HGLOBAL GlobalReAlloc(HGLOBAL h, SIZE_T bytes, UINT) {
  GlobalBlock* b = block(h);
  if (!b || b->locks > 0 || bytes > (SIZE_T(1) << 31)) return nullptr;
  track(b, false);
  try {
    b->bytes.resize(bytes, 0);
  } catch (const std::bad_alloc&) {
    track(b, true);
    return nullptr;
  }
  track(b, true);
  return h;
}

LPVOID GlobalLock(HGLOBAL h) {
  GlobalBlock* b = block(h);
  if (!b) return nullptr;
  b->locks++;
  static unsigned char empty = 0;
  return b->bytes.empty() ? &empty : b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL h) {
  GlobalBlock* b = block(h);
  if (!b || b->locks == 0) return FALSE;
  return --b->locks > 0;
}

SIZE_T GlobalSize(HGLOBAL h) {
  GlobalBlock* b = block(h);
  return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  GlobalBlock* b = block(h);
  if (!b) return h;
  track(b, false);
  state().handles.remove(b->handle);
  return nullptr;
}
