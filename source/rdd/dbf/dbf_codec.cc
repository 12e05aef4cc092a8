// Field values in record bytes.
#include "dbf/dbf_codec.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fs/coding.h"

namespace pv::dbf {
namespace {

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double Pow10(int n) { return n >= 0 && n <= 22 ? kPow10[n] : std::pow(10.0, n); }

bool BitSet(const uint8_t* rec, const Field* nulls, int bit) {
  if (!nulls || bit < 0 || bit / 8 >= nulls->length) return false;
  return rec[nulls->offset + bit / 8] & (1u << (bit % 8));
}

void SetBit(uint8_t* rec, const Field* nulls, int bit, bool on) {
  if (!nulls || bit < 0 || bit / 8 >= nulls->length) return;
  uint8_t& b = rec[nulls->offset + bit / 8];
  b = on ? uint8_t(b | (1u << (bit % 8))) : uint8_t(b & ~(1u << (bit % 8)));
}

int64_t DecodeSigned(const uint8_t* p, int len) {
  switch (len) {
    case 1: return int8_t(p[0]);
    case 2: return int16_t(DecodeLE16(p));
    case 3: return int32_t(DecodeLE24(p) << 8) >> 8;
    case 4: return int32_t(DecodeLE32(p));
    case 8: return int64_t(DecodeLE64(p));
    default: return 0;
  }
}

void EncodeSigned(uint8_t* p, int len, int64_t v) {
  switch (len) {
    case 1: p[0] = uint8_t(v); break;
    case 2: EncodeLE16(p, uint16_t(v)); break;
    case 3: EncodeLE24(p, uint32_t(v)); break;
    case 4: EncodeLE32(p, uint32_t(v)); break;
    case 8: EncodeLE64(p, uint64_t(v)); break;
    default: break;
  }
}

// The range of a signed integer of `len` bytes (by the smallest sufficient size).
bool FitsInteger(double v, int len) {
  switch (len) {
    case 1: return v >= -128 && v <= 127;
    case 2: return v >= -32768 && v <= 32767;
    case 3: return v >= -8388608 && v <= 8388607;
    case 4: return v >= -2147483648.0 && v <= 2147483647.0;
    default: return v >= -9223372036854775808.0 && v < 9223372036854775808.0;
  }
}

int Digits(const uint8_t* p, int n) {
  int v = 0;
  for (int i = 0; i < n; ++i) {
    if (p[i] < '0' || p[i] > '9') return -1;
    v = v * 10 + (p[i] - '0');
  }
  return v;
}

Status TypeError(const Field& f) {
  return Status::Make(StatusKind::kDataType, "data type error", f.name).sub(kSubDataType, kCanDefault);
}

Status WidthError(const Field& f) {
  return Status::Make(StatusKind::kDataWidth, "data width error", f.name).sub(kSubDataWidth, kCanDefault);
}

bool IsDateTimeType(FieldType t) {
  return (t == FieldType::kDateTime) || t == FieldType::kTimeStamp || t == FieldType::kModTime;
}

// Writes the decimal digits of `v` so that they end just before `end`; returns the first digit.
char* WriteDigits(char* end, uint64_t v) {
  do {
    *--end = char('0' + v % 10);
    v /= 10;
  } while (v);
  return end;
}

}  // namespace

int32_t JulianFromYmd(int y, int m, int d) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return 0;
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (d > kDays[m - 1] + (m == 2 && leap ? 1 : 0)) return 0;
  int a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

void YmdFromJulian(int32_t julian, int* year, int* month, int* day) {
  if (julian <= 0) {
    *year = *month = *day = 0;
    return;
  }
  int64_t a = int64_t(julian) + 32044, b = (4 * a + 3) / 146097, c = a - 146097 * b / 4;
  int64_t d = (4 * c + 3) / 1461, e = c - 1461 * d / 4, m = (5 * e + 2) / 153;
  *day = int(e - (153 * m + 2) / 5 + 1);
  *month = int(m + 3 - 12 * (m / 10));
  *year = int(100 * b + d - 4800 + m / 10);
}

double ParseNumber(const uint8_t* p, size_t n) {
  size_t i = 0;
  while (i < n && p[i] == ' ') ++i;
  bool neg = false;
  if (i < n && (p[i] == '-' || p[i] == '+')) neg = p[i++] == '-';
  uint64_t mant = 0;
  int digits = 0, frac = 0;
  bool point = false;
  for (; i < n; ++i) {
    uint8_t c = p[i];
    if (c >= '0' && c <= '9') {
      if (++digits > 18) break;  // too long for the exact path
      mant = mant * 10 + (c - '0');
      frac += point;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      i = n;  // anything else ends the number
      break;
    }
  }
  if (digits > 18) {
    char buf[260];
    size_t len = n < sizeof buf - 1 ? n : sizeof buf - 1;
    std::memcpy(buf, p, len);
    buf[len] = '\0';
    return std::strtod(buf, nullptr);
  }
  double v = double(mant) / Pow10(frac);  // one rounding: exact for mantissas below 2^53
  return neg ? -v : v;
}

bool FormatNumber(double value, int width, int decimals, std::string* out) {
  char buf[400];
  char* end = buf + sizeof buf;
  char* p = end;
  double scaled = value * Pow10(decimals);
  if (decimals <= 18 && std::isfinite(scaled) && std::fabs(scaled) < 9.0e18) {
    int64_t units = int64_t(std::llround(scaled));
    uint64_t mag = units < 0 ? uint64_t(-units) : uint64_t(units);
    for (int i = 0; i < decimals; ++i, mag /= 10) *--p = char('0' + mag % 10);
    if (decimals > 0) *--p = '.';
    p = WriteDigits(p, mag);
    if (units < 0) *--p = '-';
  } else if (std::isfinite(value)) {
    int len = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    p = buf, end = buf + (len < 0 ? 0 : std::min<int>(len, int(sizeof buf) - 1));
  } else {
    return false;
  }
  size_t len = size_t(end - p);
  if (len > size_t(width)) return false;
  out->assign(size_t(width) - len, ' ');
  out->append(p, len);
  return true;
}

std::string_view GetText(const Field& f, const uint8_t* rec, const Field* nulls) {
  const char* p = reinterpret_cast<const char*>(rec + f.offset);
  size_t len = f.length;
  if (f.type == FieldType::kVarLength && BitSet(rec, nulls, f.length_bit)) {
    len = rec[f.offset + f.length - 1];
    if (len >= f.length) len = f.length - 1;
  }
  return {p, len};
}

bool IsNull(const Field& f, const uint8_t* rec, const Field* nulls) {
  return BitSet(rec, nulls, f.null_bit);
}

int64_t GetInteger(const Field& f, const uint8_t* rec) {
  return DecodeSigned(rec + f.offset, f.length);
}

bool GetNumber(const Field& f, const uint8_t* rec, double* out) {
  const uint8_t* p = rec + f.offset;
  switch (f.type) {
    case FieldType::kNumeric:
    case FieldType::kFloat: *out = ParseNumber(p, f.length); return true;
    case FieldType::kInteger:
    case FieldType::kCurrency:
      *out = double(DecodeSigned(p, f.length));
      if (f.decimals) *out /= Pow10(f.decimals);
      return true;
    case FieldType::kAutoInc: *out = double(int32_t(DecodeLE32(p))); return true;
    case FieldType::kRowVersion: *out = double(DecodeLE64(p)); return true;
    case FieldType::kDouble:
    case FieldType::kCurrencyDouble: *out = DecodeLEDouble(p); return true;
    case FieldType::kAny:
      if (f.length != 4) return false;
      *out = double(int32_t(DecodeLE32(p)));
      return true;
    default: return false;
  }
}

bool GetLogical(const Field& f, const uint8_t* rec) {
  uint8_t c = rec[f.offset];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

int32_t GetDate(const Field& f, const uint8_t* rec) {
  const uint8_t* p = rec + f.offset;
  if (f.type == FieldType::kAny && f.length == 3) {
    uint32_t packed = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    return packed ? JulianFromYmd(int(packed >> 9), int((packed >> 5) & 15), int(packed & 31)) : 0;
  }
  if (f.type != FieldType::kDate) return IsDateTimeType(f.type) ? GetDateTime(f, rec).julian : 0;
  if (f.length == 3) return int32_t(DecodeLE24(p));
  if (f.length == 4) return int32_t(DecodeLE32(p));
  int y = Digits(p, 4), m = Digits(p + 4, 2), d = Digits(p + 6, 2);
  return (y < 0 || m < 0 || d < 0) ? 0 : JulianFromYmd(y, m, d);
}

DateTime GetDateTime(const Field& f, const uint8_t* rec) {
  if (!IsDateTimeType(f.type)) return {GetDate(f, rec), 0};
  const uint8_t* p = rec + f.offset;
  return {int32_t(DecodeLE32(p)), int32_t(DecodeLE32(p + 4))};
}

std::string GetTimeOfDay(const Field& f, const uint8_t* rec) {
  uint32_t ms = DecodeLE32(rec + f.offset);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02u:%02u:%02u.%03u", ms / 3600000u, ms / 60000u % 60u,
                ms / 1000u % 60u, ms % 1000u);
  return buf;
}

Status GetMemoBlock(const Field& f, const uint8_t* rec, uint32_t* block) {
  const uint8_t* p = rec + f.offset;
  if (f.length == 4) {
    *block = DecodeLE32(p);
    return Status::Ok();
  }
  uint64_t v = 0;
  int i = 0;
  while (i < f.length && p[i] == ' ') ++i;
  for (; i < f.length; ++i) {
    if (p[i] < '0' || p[i] > '9' || v > 0xFFFFFFFFull / 10) {
      return Status::Corrupt("bad memo reference in field " + f.name, {});
    }
    v = v * 10 + (p[i] - '0');
  }
  if (v > 0xFFFFFFFFull) return Status::Corrupt("bad memo reference in field " + f.name, {});
  *block = uint32_t(v);
  return Status::Ok();
}

void GetSmtReference(const Field& f, const uint8_t* rec, uint16_t* type, uint32_t* length,
                     uint32_t* block) {
  const uint8_t* p = rec + f.offset;
  *type = DecodeLE16(p);
  *length = DecodeLE32(p + 2);
  *block = DecodeLE32(p + 6);
}

Status PutText(const Field& f, uint8_t* rec, std::string_view text, const Field* nulls) {
  uint8_t* p = rec + f.offset;
  if (f.type == FieldType::kChar) {
    size_t n = std::min<size_t>(text.size(), f.length);
    std::memcpy(p, text.data(), n);
    std::memset(p + n, ' ', f.length - n);
    return Status::Ok();
  }
  if (f.type != FieldType::kVarLength) return TypeError(f);
  size_t n = std::min<size_t>(text.size(), f.length);
  bool shorter = n < f.length;
  std::memcpy(p, text.data(), n);
  std::memset(p + n, (f.flags & kFieldBinary) ? 0 : ' ', f.length - n);
  if (shorter) p[f.length - 1] = uint8_t(n);
  SetBit(rec, nulls, f.length_bit, shorter);
  SetBit(rec, nulls, f.null_bit, false);
  return Status::Ok();
}

Status PutNumber(const Field& f, uint8_t* rec, double value) {
  uint8_t* p = rec + f.offset;
  switch (f.type) {
    case FieldType::kNumeric:
    case FieldType::kFloat: {
      std::string text;
      if (!FormatNumber(value, f.length, f.decimals, &text)) {
        std::memset(p, '*', f.length);
        return WidthError(f);
      }
      std::memcpy(p, text.data(), f.length);
      return Status::Ok();
    }
    case FieldType::kInteger:
    case FieldType::kCurrency: {
      double v = f.decimals ? std::round(value * Pow10(f.decimals)) : value;
      if (!std::isfinite(v) || !FitsInteger(v, f.length)) return WidthError(f);
      EncodeSigned(p, f.length, int64_t(v));
      return Status::Ok();
    }
    case FieldType::kDouble:
    case FieldType::kCurrencyDouble: EncodeLEDouble(p, value); return Status::Ok();
    case FieldType::kAny:
      if (f.length != 4) return TypeError(f);
      if (!FitsInteger(value, 4)) return WidthError(f);
      EncodeLE32(p, uint32_t(int32_t(value)));
      return Status::Ok();
    default: return TypeError(f);
  }
}

void PutInteger(const Field& f, uint8_t* rec, int64_t value) {
  EncodeSigned(rec + f.offset, f.length, value);
}

Status PutLogical(const Field& f, uint8_t* rec, bool value) {
  if (f.type != FieldType::kLogical) return TypeError(f);
  rec[f.offset] = value ? 'T' : 'F';
  return Status::Ok();
}

Status PutDate(const Field& f, uint8_t* rec, int32_t julian) {
  uint8_t* p = rec + f.offset;
  if (f.type == FieldType::kAny && f.length == 3) {
    int y, m, d;
    YmdFromJulian(julian, &y, &m, &d);
    uint32_t packed = julian > 0 ? uint32_t(y * 512 + m * 32 + d) : 0;
    p[0] = uint8_t(packed >> 16), p[1] = uint8_t(packed >> 8), p[2] = uint8_t(packed);
    return Status::Ok();
  }
  if (IsDateTimeType(f.type) && f.type != FieldType::kModTime) return PutDateTime(f, rec, {julian, 0});
  if (f.type != FieldType::kDate) return TypeError(f);
  if (f.length == 3) {
    EncodeLE24(p, uint32_t(julian));
  } else if (f.length == 4) {
    EncodeLE32(p, uint32_t(julian));
  } else if (julian <= 0) {
    std::memset(p, ' ', 8);
  } else {
    int y, m, d;
    YmdFromJulian(julian, &y, &m, &d);
    uint32_t ymd = uint32_t(y % 10000) * 10000 + uint32_t(m) * 100 + uint32_t(d);
    for (int i = 7; i >= 0; --i, ymd /= 10) p[i] = uint8_t('0' + ymd % 10);
  }
  return Status::Ok();
}

Status PutDateTime(const Field& f, uint8_t* rec, DateTime value) {
  if (f.type == FieldType::kDate || (f.type == FieldType::kAny && f.length == 3)) {
    return PutDate(f, rec, value.julian);
  }
  if (f.type != FieldType::kDateTime && f.type != FieldType::kTimeStamp &&
      f.type != FieldType::kModTime) {
    return TypeError(f);
  }
  EncodeLE32(rec + f.offset, uint32_t(value.julian));
  EncodeLE32(rec + f.offset + 4, uint32_t(value.millis));
  return Status::Ok();
}

Status PutMemoBlock(const Field& f, uint8_t* rec, uint32_t block) {
  uint8_t* p = rec + f.offset;
  if (f.length == 4) {
    EncodeLE32(p, block);
    return Status::Ok();
  }
  if (f.length != 10) return TypeError(f);
  if (block == 0) {
    std::memset(p, ' ', 10);
  } else {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%10u", block);
    std::memcpy(p, buf, 10);
  }
  return Status::Ok();
}

void PutSmtReference(const Field& f, uint8_t* rec, uint16_t type, uint32_t length, uint32_t block) {
  uint8_t* p = rec + f.offset;
  EncodeLE16(p, type);
  EncodeLE32(p + 2, length);
  EncodeLE32(p + 6, block);
}

void SetNull(const Field& f, uint8_t* rec, const Field* nulls, bool null) {
  SetBit(rec, nulls, f.null_bit, null);
}

void BlankRecord(const std::vector<Field>& fields, uint8_t* rec, size_t record_length) {
  std::memset(rec, ' ', record_length);
  for (const Field& f : fields) {
    uint8_t fill = 0;
    switch (f.type) {
      case FieldType::kChar:
      case FieldType::kLogical:
      case FieldType::kNumeric:
      case FieldType::kFloat: fill = ' '; break;
      case FieldType::kDate: fill = f.length == 8 ? ' ' : 0; break;
      case FieldType::kMemo:
      case FieldType::kImage:
      case FieldType::kBlob:
      case FieldType::kOle: fill = f.length == 10 ? ' ' : 0; break;
      case FieldType::kVarLength: fill = (f.flags & kFieldBinary) ? 0 : ' '; break;
      default: fill = 0; break;
    }
    std::memset(rec + f.offset, fill, f.length);
  }
}

}  // namespace pv::dbf
