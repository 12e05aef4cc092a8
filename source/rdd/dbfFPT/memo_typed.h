// Typed memo values (FPT versions 2 and 3, SMT): numbers, dates, logicals and NIL stored in
// memo blocks, besides text and binary data.
//
//   BLOCK TYPE  DATA (little-endian)          VALUE
//   0           bytes                         binary string
//   1, 2        bytes                         text (type 2, an object, is read as text)
//   1006        none                          NIL
//   1007, 1008  none                          true, false
//   1009        32-bit Julian day             date
//   1010/1011   8-bit signed / unsigned       number
//   1012/1013   16-bit signed / unsigned      number
//   1014/1015   32-bit signed / unsigned      number
//   1016        IEEE double                   number
//   1017        none                          the number 0
//   other       —                             NIL
//
// Writing picks, for a whole number, the smallest of 1010, 1012 and 1014 that holds it, else
// 1016; other numbers 1016.
#pragma once

#include <cstdint>
#include <string>

#include "dbfFPT/memo_file.h"

namespace pv::memo {

struct TypedValue {
  enum Kind { kText, kBinary, kNumber, kDate, kLogical, kNil } kind = kNil;
  std::string bytes;   // kText, kBinary
  double number = 0;   // kNumber
  int32_t julian = 0;  // kDate
  bool logical = false;
};

// The block type and data that store `value`.
MemoValue EncodeTyped(const TypedValue& value);
// The value a block holds; a typed block with too little data is NIL.
TypedValue DecodeTyped(const MemoValue& stored);

}  // namespace pv::memo
