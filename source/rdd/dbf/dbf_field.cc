// Field descriptors: letter and length rules, descriptor encoding and decoding.
#include "dbf/dbf_field.h"

#include <cctype>
#include <cstring>

#include "fs/coding.h"

namespace pv::dbf {
namespace {

// How a length that breaks a type's rule is treated: forced/changed when creating, rejected when
// reading (a changed length would move every later field).
struct TypeRule {
  FieldType type;
  bool ok;          // the length as given is allowed
  uint16_t length;  // the length to use when creating
  uint8_t decimals;
};

bool OneOf(int v, std::initializer_list<int> set) {
  for (int s : set) {
    if (v == s) return true;
  }
  return false;
}

TypeRule RuleFor(char letter, bool extended, int len, int dec) {
  switch (letter) {
    case 'C': return {FieldType::kChar, len >= 1 && len <= 65535, uint16_t(len), 0};
    case 'L': return {FieldType::kLogical, len == 1, 1, 0};
    case 'D': return {FieldType::kDate, OneOf(len, {3, 4, 8}), uint16_t(OneOf(len, {3, 4}) ? len : 8), 0};
    case 'N': return {FieldType::kNumeric, len >= 1 && len <= 255, uint16_t(len), uint8_t(dec)};
    case 'F': return {FieldType::kFloat, len >= 1 && len <= 255, uint16_t(len), uint8_t(dec)};
    case 'I':
      return {FieldType::kInteger, OneOf(len, {1, 2, 3, 4, 8}),
              uint16_t(OneOf(len, {1, 2, 3, 4, 8}) ? len : 4), uint8_t(dec)};
    case '2': return {FieldType::kInteger, len == 2, 2, uint8_t(dec)};
    case '4': return {FieldType::kInteger, len == 4, 4, uint8_t(dec)};
    case 'B':
    case '8': return {FieldType::kDouble, len == 8, 8, uint8_t(dec)};
    case 'T':
      if (len == 4) return {FieldType::kTimeOfDay, true, 4, 0};
      return {FieldType::kDateTime, len == 8, 8, 0};
    case '@': return {FieldType::kTimeStamp, len == 8, 8, 0};
    case '=': return {FieldType::kModTime, len == 8, 8, 0};
    case '^': return {FieldType::kRowVersion, len == 8, 8, 0};
    case '+': return {FieldType::kAutoInc, len == 4, 4, 0};
    case 'Y':
      return {FieldType::kCurrency, OneOf(len, {1, 2, 3, 4, 8}),
              uint16_t(OneOf(len, {1, 2, 3, 4, 8}) ? len : 8), uint8_t(dec)};
    case 'Z': return {FieldType::kCurrencyDouble, len == 8, 8, uint8_t(dec)};
    case 'Q': return {FieldType::kVarLength, len >= 1 && len <= 255, uint16_t(len), 0};
    case 'V':
      if (extended) return {FieldType::kVarLength, len >= 1 && len <= 255, uint16_t(len), 0};
      return {FieldType::kAny, len == 3 || len == 4 || len >= 6,
              uint16_t(OneOf(len, {1, 2, 5}) ? 6 : len), 0};
    case 'M': return {FieldType::kMemo, len == 10 || len == 4, uint16_t(len == 4 ? 4 : 10), 0};
    case 'P': return {FieldType::kImage, len == 10 || len == 4, uint16_t(len == 4 ? 4 : 10), 0};
    case 'W': return {FieldType::kBlob, len == 10 || len == 4, uint16_t(len == 4 ? 4 : 10), 0};
    case 'G': return {FieldType::kOle, len == 10 || len == 4, uint16_t(len == 4 ? 4 : 10), 0};
    case '0': return {FieldType::kNullFlags, extended && len >= 1, uint16_t(len), 0};
    default: return {FieldType::kNullFlags, false, 0, 0};
  }
}

bool KnownLetter(char letter) { return std::strchr("CLDNFI24B8T@=^+YZQVMPWG0", letter) != nullptr; }

// C and Q keep the length's high byte in the decimals byte.
bool WideLength(char letter) { return letter == 'C' || letter == 'Q'; }

}  // namespace

char TypeLetter(FieldType type) {
  static const char kLetters[] = "?CLDNFIBT@=^+YZQMVPWGT";
  int code = int(type);
  return code >= 1 && code <= 21 ? kLetters[code] : 'U';
}

bool Field::autoIncrements() const {
  if (type == FieldType::kAutoInc) return true;
  if (!(flags & kFieldAutoInc)) return false;
  return type == FieldType::kNumeric || type == FieldType::kFloat ||
         type == FieldType::kInteger || type == FieldType::kDouble;
}

Status DecodeDescriptor(const uint8_t* d, bool extended, const std::string& file, Field* out) {
  char name[kMaxNameLength + 1];
  std::memcpy(name, d + kDescName, kMaxNameLength);
  name[kMaxNameLength] = '\0';
  Field f;
  f.name = name;
  f.letter = char(d[kDescType]);
  int len = d[kDescLength], dec = d[kDescDecimals];
  if (WideLength(f.letter)) {
    len |= dec << 8;
    dec = 0;
  }
  if (f.name.empty()) return Status::Corrupt("field without a name", file).sub(kSubCorrupt, kCanDefault);
  TypeRule rule = RuleFor(f.letter, extended, len, dec);
  if (!KnownLetter(f.letter) || !rule.ok) {
    return Status::Corrupt("bad field descriptor " + f.name, file).sub(kSubCorrupt, kCanDefault);
  }
  f.type = rule.type;
  f.length = uint16_t(len);
  f.decimals = uint8_t(dec);
  if (extended) f.flags = d[kDescFlags];
  f.step = d[kDescAutoIncStep];
  *out = std::move(f);
  return Status::Ok();
}

void EncodeDescriptor(const Field& f, bool extended, uint32_t next_value, uint8_t* d) {
  std::memset(d, 0, kDescriptorSize);
  std::memcpy(d + kDescName, f.name.data(), std::min<size_t>(f.name.size(), kMaxNameLength));
  d[kDescType] = uint8_t(f.letter);
  if (WideLength(f.letter)) {
    d[kDescLength] = uint8_t(f.length & 0xFF);
    d[kDescDecimals] = uint8_t(f.length >> 8);
  } else {
    d[kDescLength] = uint8_t(f.length);
    d[kDescDecimals] = f.decimals;
  }
  if (extended) {
    EncodeLE32(d + kDescFieldOffset, f.offset);
    d[kDescFlags] = f.flags;
  }
  EncodeLE32(d + kDescAutoIncNext, next_value);
  d[kDescAutoIncStep] = f.step;
}

Status FieldFromSpec(const FieldSpec& spec, bool extended, Field* out) {
  size_t start = spec.name.find_first_not_of(" \t\r\n");
  std::string name = start == std::string::npos ? "" : spec.name.substr(start);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = char(std::toupper(uint8_t(c)));
  if (name.empty()) return Status::BadArgument("field without a name");
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  char letter = spec.type.empty() ? '\0' : char(std::toupper(uint8_t(spec.type[0])));
  int len = spec.length < 0 ? 0 : spec.length, dec = spec.decimals < 0 ? 0 : spec.decimals;
  if (!KnownLetter(letter) || letter == '0') {
    return Status::BadArgument("unknown field type for " + name);
  }
  if ((letter == 'N' || letter == 'F') && (len > 255 || len == 0)) {
    return Status::BadArgument("bad length for " + name);
  }
  TypeRule rule = RuleFor(letter, extended, len, dec);
  if (rule.length == 0 || (letter == 'C' && !rule.ok) || (letter == 'Q' && !rule.ok) ||
      (letter == 'V' && extended && !rule.ok)) {
    return Status::BadArgument("bad length for " + name);
  }
  Field f;
  f.name = name;
  f.letter = letter;
  f.type = rule.type;
  f.length = rule.length;
  f.decimals = rule.decimals;
  if (letter == 'Y' && spec.decimals <= 0) f.decimals = 4;
  if (extended) f.flags = spec.flags & (kFieldNullable | kFieldBinary | kFieldAutoInc);
  if (f.autoIncrements()) f.step = 1;
  *out = std::move(f);
  return Status::Ok();
}

int LayOutFields(std::vector<Field>* fields) {
  uint32_t offset = 1;
  int bit = 0;
  for (Field& f : *fields) {
    f.offset = offset;
    offset += f.length;
    f.length_bit = f.null_bit = -1;
    if (f.type == FieldType::kNullFlags) continue;
    if (f.type == FieldType::kVarLength) f.length_bit = bit++;
    if (f.nullable()) f.null_bit = bit++;
  }
  return bit;
}

}  // namespace pv::dbf
