// libFuzzer target: opens arbitrary bytes as a CDX file, walks every tag both ways, seeks the
// keys met, runs the structure checker, then adds and deletes a key in every tag. Any
// outcome is fine except a crash, a hang or a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cdx_check.h"
#include "cdx_index.h"
#include "cdx_maint.h"
#include "cdx_nav.h"

using namespace pv::cdx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  std::unique_ptr<CdxIndex> x;
  auto file = std::make_unique<CdxMemFile>(std::vector<uint8_t>(data, data + size));
  if (!cdxIndexOpen(std::move(file), "FUZZ", {}, x).ok()) return 0;
  for (auto& tp : x->tags) {
    CdxTag& t = *tp;
    std::vector<CdxKey> keys;
    CdxStatus s = cdxTagGoTop(t);
    while (s.ok() && t.cur.rec && keys.size() < 5000) {
      keys.push_back(t.cur);
      s = cdxTagSkip(t, 1);
    }
    if (s.ok()) s = cdxTagGoBottom(t);
    for (int i = 0; s.ok() && t.cur.rec && !t.topOfOrder && i < 5000; ++i) s = cdxTagSkip(t, -1);
    for (size_t i = 0; s.ok() && i < keys.size(); i += 7)
      s = cdxTagSeek(t, keys[i].val, keys[i].len, true, false, nullptr);
    uint32_t n = 0;
    if (s.ok()) s = cdxTagKeyCount(t, n);
    if (s.ok()) s = cdxTagKeyGoto(t, n / 2 + 1);
    if (s.ok()) s = cdxTagKeyNo(t, n);
  }
  CdxCheckReport rep;
  cdxCheckIndex(*x, rep);
  for (auto& tp : x->tags) {
    CdxKey k("FUZZKEY", 7, 12345);
    k.len = uint16_t(std::min<int>(k.len, tp->keyLen));
    if (cdxTagKeyAdd(*tp, k).ok()) cdxTagKeyDelete(*tp, k);
  }
  return 0;
}
