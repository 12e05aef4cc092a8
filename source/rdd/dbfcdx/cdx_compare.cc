// Key comparison: collation ranks for character tags with a collation, unsigned bytes
// otherwise; a shorter search key matches by prefix unless the comparison is exact.
#include "cdx_internal.h"

namespace pv::cdx {

int cdxKeyCompare(const CdxTag& t, const uint8_t* a, int alen, const uint8_t* b, int blen,
                  bool exact) {
  int n = alen < blen ? alen : blen;
  if (t.collation && t.keyType == 'C') {
    const CdxCollation& c = *t.collation;
    for (int i = 0; i < n; ++i)
      if (a[i] != b[i]) return c[a[i]] < c[b[i]] ? -1 : 1;
  } else if (n > 0) {
    int r = std::memcmp(a, b, size_t(n));
    if (r) return r < 0 ? -1 : 1;
  }
  if (alen > blen) return 1;
  if (alen < blen && (exact || t.keyType != 'C')) return -1;
  return 0;
}

int cdxKeyRecCompare(const CdxTag& t, const uint8_t* a, uint32_t ra, const uint8_t* b,
                     uint32_t rb) {
  int k = cdxKeyCompare(t, a, t.keyLen, b, t.keyLen, true);
  if (k) return k;
  return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

}  // namespace pv::cdx
