// Memory allocation with accounting: every block carries its size so that the bytes in use and
// their peak can be reported.
#include <cstdlib>

#include "errint.h"
#include "item.h"

namespace {

struct AllocHeader {  // 8 bytes in front of every block: blocks are 8-aligned
  size_t size;
};

size_t g_used = 0;
size_t g_peak = 0;

void account(long long delta) {
  g_used += delta;
  if (g_used > g_peak) g_peak = g_used;
}

}  // namespace

void* pv_xgrab(size_t size) {
  auto* h = static_cast<AllocHeader*>(std::malloc(sizeof(AllocHeader) + size));
  if (!h) pv_errInternal(9006, nullptr, nullptr, nullptr);
  h->size = size;
  account(static_cast<long long>(size));
  return h + 1;
}

void* pv_xrealloc(void* p, size_t size) {
  if (!p) pv_errInternal(9007, nullptr, nullptr, nullptr);
  auto* h = static_cast<AllocHeader*>(p) - 1;
  size_t old = h->size;
  auto* n = static_cast<AllocHeader*>(std::realloc(h, sizeof(AllocHeader) + size));
  if (!n) pv_errInternal(9009, nullptr, nullptr, nullptr);
  n->size = size;
  account(static_cast<long long>(size) - static_cast<long long>(old));
  return n + 1;
}

void pv_xfree(void* p) {
  if (!p) pv_errInternal(9011, nullptr, nullptr, nullptr);
  auto* h = static_cast<AllocHeader*>(p) - 1;
  account(-static_cast<long long>(h->size));
  std::free(h);
}

size_t pv_xquery_used() { return g_used; }
size_t pv_xquery_peak() { return g_peak; }
