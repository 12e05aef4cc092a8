// Tag headers: reading and validating a header (key length, root, expression pool), building
// the in-memory tag for a new order, and writing the 1024-byte header image.
#include <algorithm>
#include <cctype>

#include "cdx_internal.h"

namespace pv::cdx {

namespace {

// Text from the expression pool at pos: up to its zero byte, at most 255 characters,
// trailing blanks removed.
std::string poolText(const uint8_t* pool, int pos) {
  std::string s;
  for (int i = pos; i < kHdrPoolLen && pool[i] && int(s.size()) < kMaxExprLen; ++i)
    s.push_back(char(pool[i]));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string trimExpr(const std::string& s) {
  std::string r = s.substr(0, size_t(kMaxExprLen));
  while (!r.empty() && r.back() == ' ') r.pop_back();
  return r;
}

void setKeyInfo(CdxTag& t, const CdxKeyInfo& info) {
  t.keyType = info.type;
  t.nullFlag = info.nullFlag;
  t.fill = cdxFillFor(info.type);
  t.collation = info.type == 'C' ? info.collation : nullptr;
}

}  // namespace

bool cdxKeyLengthFits(char type, int keyLen, bool nullFlag) {
  int base = keyLen - (nullFlag ? 1 : 0);
  if (keyLen > kMaxKeyLen) return false;
  switch (type) {
    case 'C': return base >= 1;
    case 'N':
    case 'D': return base == 8;
    case 'L': return base == 1;
    case 'I': return base == 4;
    default: return false;
  }
}

std::string cdxTagNameNormal(const std::string& name) {
  std::string s = name;
  while (!s.empty() && s.back() == ' ') s.pop_back();
  size_t b = s.find_first_not_of(' ');
  s = b == std::string::npos ? std::string() : s.substr(b, size_t(kMaxTagNameLen));
  for (auto& c : s) c = char(std::toupper(uint8_t(c)));
  return s;
}

bool tagHeaderParse(CdxIndex& x, uint32_t off, TagHeaderFields& out) {
  uint64_t size = x.file->size();
  if (off % kPageSize || uint64_t(off) + kHeaderSize > size) return false;
  uint8_t h[kHeaderSize];
  pv_cdxIndexPageRead(x, off, h, kHeaderSize);
  out.root = GetLE32(h + kHdrRoot);
  out.keyLen = GetLE16(h + kHdrKeyLen);
  int forPos = GetLE16(h + kHdrForPos), forLen = GetLE16(h + kHdrForLen);
  int keyPos = GetLE16(h + kHdrKeyPos), keyTextLen = GetLE16(h + kHdrKeyTextLen);
  if (out.root == 0 || out.root == kNoPage || out.root % kPageSize || out.root >= size ||
      out.keyLen < 1 || out.keyLen > kMaxKeyLen || forPos + forLen > kHdrPoolLen ||
      keyPos + keyTextLen > kHdrPoolLen)
    return false;
  out.options = h[kHdrOptions];
  out.ascending = GetLE16(h + kHdrDescending) == 0;
  const uint8_t* pool = h + kHdrPool;
  out.keyExpr = poolText(pool, 0);
  out.forExpr = forPos < kHdrPoolLen && pool[forPos] ? poolText(pool, forPos) : "";
  return true;
}

bool tagHeaderMatches(CdxTag& t) {
  TagHeaderFields f;
  return tagHeaderParse(*t.index, t.headerOffset, f) && f.root == t.rootOffset &&
         f.keyLen == t.keyLen && f.options == t.options && f.ascending == t.ascending &&
         f.keyExpr == t.keyExpr && f.forExpr == t.forExpr;
}

std::unique_ptr<CdxTag> tagHeaderRead(CdxIndex& x, uint32_t off, const std::string& name) {
  TagHeaderFields f;
  if (!tagHeaderParse(x, off, f)) return nullptr;
  int keyLen = f.keyLen;
  auto t = std::make_unique<CdxTag>();
  t->index = &x;
  t->name = name;
  t->headerOffset = off;
  t->rootOffset = f.root;
  t->keyLen = keyLen;
  t->maxIntKeys = kIntAreaLen / (keyLen + 8);
  t->options = f.options;
  t->unique = t->options & kOptUnique;
  t->ascending = t->userAscending = f.ascending;
  t->keyExpr = f.keyExpr;
  t->forExpr = f.forExpr;
  CdxKeyInfo info;
  info.temporary = t->options & kOptTemporary;
  info.custom = t->options & kOptCustom;
  if (!t->isDirectory() && !t->keyExpr.empty() && x.resolver &&
      !x.resolver(t->name, t->keyExpr, t->forExpr, keyLen, info))
    return nullptr;
  if (t->isDirectory()) info = CdxKeyInfo{};
  if (!cdxKeyLengthFits(info.type, keyLen, info.nullFlag)) return nullptr;
  setKeyInfo(*t, info);
  t->temporary = info.temporary;
  t->custom = info.custom;
  // Bits 1 and 2 that the table side read otherwise (Visual FoxPro's null-flag and candidate
  // marks) are kept as they were when the header is written again.
  t->keepBits = uint8_t(t->options & ((info.temporary ? 0 : kOptTemporary) |
                                      (info.custom ? 0 : kOptCustom)));
  return t;
}

std::unique_ptr<CdxTag> tagMake(CdxIndex& x, const CdxTagSpec& spec) {
  auto t = std::make_unique<CdxTag>();
  t->index = &x;
  t->name = cdxTagNameNormal(spec.name);
  t->keyExpr = trimExpr(spec.keyExpr);
  t->forExpr = trimExpr(spec.forExpr);
  t->keyLen = spec.keyLen;
  t->maxIntKeys = kIntAreaLen / (spec.keyLen + 8);
  t->options = kOptNewTag;
  t->unique = spec.unique;
  t->custom = spec.custom;
  t->temporary = spec.temporary;
  t->ascending = t->userAscending = !spec.descending;
  setKeyInfo(*t, spec.key);
  t->headerChanged = true;
  return t;
}

void tagHeaderWrite(CdxTag& t) {
  t.headerChanged = false;
  CdxIndex& x = *t.index;
  uint8_t h[kHeaderSize] = {};
  PutLE32(h + kHdrRoot, t.rootOffset);
  if (t.isDirectory()) {
    PutLE32(h + kHdrFreeList, x.freeHead);
    PutBE32(h + kHdrVersion, x.version);
  }
  PutLE16(h + kHdrKeyLen, uint16_t(t.keyLen));
  t.options = uint8_t((t.options & 0xF0) | t.keepBits | (t.unique ? kOptUnique : 0) |
                      (t.temporary ? kOptTemporary : 0) | (t.custom ? kOptCustom : 0) |
                      (t.forExpr.empty() ? 0 : kOptFor));
  h[kHdrOptions] = t.options;
  h[kHdrSignature] = 1;
  PutLE16(h + kHdrDescending, t.ascending ? 0 : 1);
  int k = int(t.keyExpr.size()), f = int(t.forExpr.size());
  PutLE16(h + kHdrForPos, uint16_t(k + 1));
  PutLE16(h + kHdrForLen, uint16_t(f + 1));
  PutLE16(h + kHdrKeyPos, 0);
  PutLE16(h + kHdrKeyTextLen, uint16_t(k + 1));
  std::memcpy(h + kHdrPool, t.keyExpr.data(), size_t(k));
  std::memcpy(h + kHdrPool + k + 1, t.forExpr.data(), size_t(f));
  pv_cdxIndexPageWrite(x, t.headerOffset, h, kHeaderSize);
  if (t.isDirectory()) x.freeHeadSeen = x.freeHead;
}

}  // namespace pv::cdx
