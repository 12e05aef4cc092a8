// Key types of tags from the table's field list.
#include "cdx_table_keys.h"

#include <cctype>
#include <memory>

#include "cdx_format.h"

namespace pv::cdx {

namespace {

std::string upper(std::string s) {
  for (auto& c : s) c = char(std::toupper(uint8_t(c)));
  return s;
}

char keyTypeOf(char fieldType) {
  switch (fieldType) {
    case 'I': return 'I';
    case 'N': case 'F': case 'B': case 'Y': return 'N';
    case 'D': case 'T': return 'D';
    case 'L': return 'L';
    default: return 'C';
  }
}

// The field a key expression names: "NAME", "ALIAS->NAME", "UPPER(NAME)", "LOWER(NAME)".
const CdxDbfField* keyField(const CdxDbfInfo& info, const std::string& expr, bool& caseFn) {
  std::string e;
  for (char c : expr)
    if (!std::isspace(uint8_t(c))) e.push_back(char(std::toupper(uint8_t(c))));
  caseFn = false;
  for (const char* fn : {"UPPER(", "LOWER("}) {
    std::string f(fn);
    if (e.size() > f.size() + 1 && e.compare(0, f.size(), f) == 0 && e.back() == ')') {
      e = e.substr(f.size(), e.size() - f.size() - 1);
      caseFn = true;
    }
  }
  size_t arrow = e.rfind("->");
  if (arrow != std::string::npos) e = e.substr(arrow + 2);
  return info.field(e);
}

}  // namespace

const CdxDbfField* CdxDbfInfo::field(const std::string& name) const {
  std::string n = upper(name);
  for (const auto& f : fields)
    if (f.name == n || (n.size() > 10 && f.name == n.substr(0, 10))) return &f;
  return nullptr;
}

bool cdxReadDbfInfo(const std::vector<uint8_t>& head, CdxDbfInfo& out) {
  if (head.size() < 33) return false;
  out = CdxDbfInfo{};
  out.version = head[0];
  out.recCount = GetLE32(head.data() + 4);
  out.headerLen = GetLE16(head.data() + 8);
  out.recLen = GetLE16(head.data() + 10);
  int bit = 0;
  uint32_t next = 1;  // where the field lies when the header leaves its offset 0 (dBASE)
  for (size_t at = 32; at + 32 <= head.size() && at < out.headerLen; at += 32) {
    if (head[at] == 0x0D) break;
    CdxDbfField f;
    for (int i = 0; i < 11 && head[at + size_t(i)]; ++i) f.name.push_back(char(head[at + size_t(i)]));
    f.name = upper(f.name);
    f.type = char(head[at + 11]);
    f.offset = GetLE32(head.data() + at + 12);
    f.len = head[at + 16];
    f.dec = head[at + 17];
    f.flags = head[at + 18];
    if (f.offset == 0) f.offset = next;
    if (f.offset + f.len > out.recLen) return false;
    next = f.offset + f.len;
    if (out.visualFoxPro()) {
      if (f.type == 'V' || f.type == 'Q') f.varBit = bit++;
      if (f.flags & 0x02) f.nullBit = bit++;
    }
    out.fields.push_back(f);
  }
  for (size_t i = 0; i < out.fields.size(); ++i)
    if (out.fields[i].type == '0') out.nullFlagsField = int(i);
  return !out.fields.empty();
}

CdxKeyResolver cdxTableKeyResolver(const CdxDbfInfo& info) {
  auto shared = std::make_shared<CdxDbfInfo>(info);
  return [shared](const std::string&, const std::string& keyExpr, const std::string&, int keyLen,
                  CdxKeyInfo& out) {
    bool nullFlag = false;
    if (shared->visualFoxPro()) {
      nullFlag = out.temporary;  // 0x02: keys with a leading null-flag byte
      out.temporary = false;
      out.custom = false;        // 0x04: a candidate key
    }
    bool caseFn = false;
    const CdxDbfField* f = keyField(*shared, keyExpr, caseFn);
    char type = f && !caseFn ? keyTypeOf(f->type) : 'C';
    out.type = cdxKeyLengthFits(type, keyLen, nullFlag) ? type : 'C';
    out.nullFlag = nullFlag;
    return true;
  };
}

}  // namespace pv::cdx
