// Helpers of the index engine tests: in-memory indexes, character and numeric keys, walking
// a tag into a list, and the structure checker as an assertion.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cdx_check.h"
#include "cdx_index.h"
#include "cdx_maint.h"
#include "cdx_internal.h"
#include "cdx_nav.h"

namespace pv::cdx::test {

// An index over an in-memory file; file() stays valid while the index lives.
struct MemIndex {
  std::unique_ptr<CdxIndex> index;
  CdxMemFile* mem = nullptr;

  explicit MemIndex(const std::string& base = "TEST", CdxOpenOptions opt = {}) {
    auto f = std::make_unique<CdxMemFile>();
    mem = f.get();
    CdxStatus s = cdxIndexCreate(std::move(f), base, opt, index);
    EXPECT_TRUE(s.ok()) << s.toString();
  }
  const std::vector<uint8_t>& bytes() const { return mem->bytes(); }
};

inline CdxTagSpec charSpec(const std::string& name, int keyLen, const std::string& expr = "KEY") {
  CdxTagSpec s;
  s.name = name;
  s.keyExpr = expr;
  s.keyLen = keyLen;
  s.key.type = 'C';
  return s;
}

inline CdxKey charKey(const std::string& v, uint32_t rec) { return CdxKey(v.data(), int(v.size()), rec); }

// Builds a tag over values[rec - 1].
inline CdxTag* buildTag(CdxIndex& x, const CdxTagSpec& spec, const std::vector<std::string>& values) {
  CdxTag* t = nullptr;
  CdxStatus s = cdxIndexAddTag(x, spec, uint32_t(values.size()),
                               [&](uint32_t rec, CdxKey& k) {
                                 const std::string& v = values[rec - 1];
                                 k.set(v.data(), int(v.size()), rec);
                                 return true;
                               },
                               &t);
  EXPECT_TRUE(s.ok()) << s.toString();
  return t;
}

// Every (key, record) of a tag in walking order, from the top.
inline std::vector<std::pair<std::string, uint32_t>> walk(CdxTag& t) {
  std::vector<std::pair<std::string, uint32_t>> out;
  CdxStatus s = cdxTagGoTop(t);
  while (s.ok() && t.cur.rec) {
    out.emplace_back(t.cur.bytes(), t.cur.rec);
    s = cdxTagSkip(t, 1);
  }
  EXPECT_TRUE(s.ok()) << s.toString();
  return out;
}

inline void expectValid(CdxIndex& x) {
  CdxCheckReport rep;
  CdxCheckOptions opt;
  opt.strictGap = true;
  CdxStatus s = cdxCheckIndex(x, rep, opt);
  ASSERT_TRUE(s.ok()) << s.toString() << s.detail;
  if (getenv("CDX_TEST_VERBOSE"))
    for (auto& l : rep.lines) printf("  %s\n", l.c_str());
}

inline std::string pad(const std::string& v, size_t n) {
  std::string s = v.substr(0, n);
  s.resize(n, ' ');
  return s;
}

}  // namespace pv::cdx::test
