// Typed memo values: encoding and decoding of the FlexFile value types.
#include "dbfFPT/memo_typed.h"

#include <cmath>

#include "fs/coding.h"

namespace pv::memo {
namespace {

MemoValue Bytes(uint32_t type, const uint8_t* p, size_t n) {
  return {type, std::string(reinterpret_cast<const char*>(p), n)};
}

TypedValue Number(double v) {
  TypedValue t;
  t.kind = TypedValue::kNumber;
  t.number = v;
  return t;
}

}  // namespace

MemoValue EncodeTyped(const TypedValue& value) {
  uint8_t b[8];
  switch (value.kind) {
    case TypedValue::kText: return {kTypeText, value.bytes};
    case TypedValue::kBinary: return {kTypeBinary, value.bytes};
    case TypedValue::kNil: return {kTypeNil, {}};
    case TypedValue::kLogical: return {value.logical ? kTypeTrue : kTypeFalse, {}};
    case TypedValue::kDate: EncodeLE32(b, uint32_t(value.julian)); return Bytes(kTypeDate, b, 4);
    case TypedValue::kNumber: break;
  }
  double v = value.number;
  if (v == std::floor(v) && std::fabs(v) <= 2147483647.0) {
    int32_t i = int32_t(v);
    if (i >= -128 && i <= 127) {
      b[0] = uint8_t(int8_t(i));
      return Bytes(kTypeInt8, b, 1);
    }
    if (i >= -32768 && i <= 32767) {
      EncodeLE16(b, uint16_t(int16_t(i)));
      return Bytes(kTypeInt16, b, 2);
    }
    EncodeLE32(b, uint32_t(i));
    return Bytes(kTypeInt32, b, 4);
  }
  EncodeLEDouble(b, v);
  return Bytes(kTypeDouble, b, 8);
}

TypedValue DecodeTyped(const MemoValue& stored) {
  const auto* p = reinterpret_cast<const uint8_t*>(stored.data.data());
  size_t n = stored.data.size();
  TypedValue t;
  auto need = [&](size_t bytes) { return n >= bytes; };
  switch (stored.type) {
    case kTypeBinary: t.kind = TypedValue::kBinary, t.bytes = stored.data; return t;
    case kTypeText:
    case kTypeObject: t.kind = TypedValue::kText, t.bytes = stored.data; return t;
    case kTypeTrue:
    case kTypeFalse:
      t.kind = TypedValue::kLogical, t.logical = stored.type == kTypeTrue;
      return t;
    case kTypeDate:
      if (!need(4)) return t;
      t.kind = TypedValue::kDate, t.julian = int32_t(DecodeLE32(p));
      return t;
    case kTypeInt8: return need(1) ? Number(int8_t(p[0])) : t;
    case kTypeUInt8: return need(1) ? Number(p[0]) : t;
    case kTypeInt16: return need(2) ? Number(int16_t(DecodeLE16(p))) : t;
    case kTypeUInt16: return need(2) ? Number(DecodeLE16(p)) : t;
    case kTypeInt32: return need(4) ? Number(int32_t(DecodeLE32(p))) : t;
    case kTypeUInt32: return need(4) ? Number(DecodeLE32(p)) : t;
    case kTypeDouble: return need(8) ? Number(DecodeLEDouble(p)) : t;
    case kTypeZero: return Number(0);
    default: return t;  // NIL, arrays and unknown types
  }
}

}  // namespace pv::memo
