// Key information of tags from the table's field list, for opening index files without the
// expression compiler (the checker tool, tests of files written by other programs): a key
// that names one field (or UPPER/LOWER of one) takes that field's type; anything else is a
// character key. Tables of Visual FoxPro (version bytes 0x30..0x32) give the option bits
// their meaning there: 0x02 a leading null-flag byte, 0x04 a candidate key (maintained like
// any other tag, not custom).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cdx_index.h"

namespace pv::cdx {

struct CdxDbfField {
  std::string name;
  char type = 'C';
  uint32_t offset = 0;  // within the record (byte 0 is the deletion flag)
  uint8_t len = 0;
  uint8_t dec = 0;
  uint8_t flags = 0;    // 0x02 nullable, 0x04 binary
  int varBit = -1;      // bit in _NullFlags marking a V/Q value shorter than the field
  int nullBit = -1;     // bit in _NullFlags marking a null value
};

struct CdxDbfInfo {
  uint8_t version = 0;
  uint32_t recCount = 0;
  uint16_t headerLen = 0;
  uint16_t recLen = 0;
  std::vector<CdxDbfField> fields;
  int nullFlagsField = -1;  // index of the _NullFlags field, if any

  bool visualFoxPro() const { return version >= 0x30 && version <= 0x32; }
  // A field by name (case-insensitive); names longer than 10 match their first 10 characters.
  const CdxDbfField* field(const std::string& name) const;
};

// Parses a table header (at least the first headerLen bytes). False when it is not a table
// header or a field lies outside the record.
bool cdxReadDbfInfo(const std::vector<uint8_t>& head, CdxDbfInfo& out);

// A resolver for cdxIndexOpen from the table's fields.
CdxKeyResolver cdxTableKeyResolver(const CdxDbfInfo& info);

}  // namespace pv::cdx
