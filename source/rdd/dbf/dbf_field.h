// Field descriptors: the decoded form of a 32-byte descriptor, and the codec between them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbf/dbf_format.h"
#include "fs/status.h"

namespace pv::dbf {

struct Field {
  std::string name;      // upper case as stored, at most 10 characters
  char letter = 'C';     // type letter as stored
  FieldType type = FieldType::kChar;
  uint16_t length = 0;   // bytes in the record
  uint8_t decimals = 0;
  uint8_t flags = 0;     // FieldFlag bits (extended format only)
  uint8_t step = 0;      // auto-increment step
  uint32_t offset = 0;   // position in the record (the deleted flag is byte 0)
  int length_bit = -1;   // bit in _NullFlags set when the value is shorter, or -1
  int null_bit = -1;     // bit in _NullFlags set when the value is null, or -1

  bool nullable() const { return flags & kFieldNullable; }
  bool system() const { return type == FieldType::kNullFlags || (flags & kFieldSystem); }
  // Whether the field takes the next auto-increment value on append.
  bool autoIncrements() const;
};

// A field as a table-creating caller describes it ({name, type, length, decimals, flags}).
struct FieldSpec {
  std::string name;
  std::string type;  // only the first letter counts, in either case
  int length = 0;
  int decimals = 0;
  uint8_t flags = 0;
};

// Decodes the descriptor at `d` (32 bytes). Bad names, letters or lengths give kCorrupt with
// subcode 1012 and `file` in the message.
Status DecodeDescriptor(const uint8_t* d, bool extended, const std::string& file, Field* out);

// Writes the descriptor of `f` to `d` (32 bytes, zeroed first); the auto-increment next value is
// `next_value` (0 for fields that have none).
void EncodeDescriptor(const Field& f, bool extended, uint32_t next_value, uint8_t* d);

// Builds a field from a creation spec with the length rules of the type table ("L" is forced to
// 1, "I" of an odd length becomes 4, ...). An unknown letter, an empty name, or a length out of
// range is kBadArgument.
Status FieldFromSpec(const FieldSpec& spec, bool extended, Field* out);

// Assigns offsets from 1 upward and the _NullFlags bits; returns the number of bits used.
int LayOutFields(std::vector<Field>* fields);

}  // namespace pv::dbf
