// Deterministic invoice tables (the PRODUCT.DBF layout) of any size.
//
// Fields, in order: ID_NR N(8,0), CUSTOMER C(30), PRODUCT C(20), INVOICE C(10), VALUE N(10,2),
// INV_DATE D. Records come in invoice groups of 1–6 lines sharing ID_NR, CUSTOMER, INVOICE and
// INV_DATE; ids ascend with gaps, about 5% of neighbouring groups swapped. About N/5 distinct
// customers (code page 850), some differing from another only in letter case, some with
// umlauts. About 85% of lines are "Program 01" … "Program 10", 10% other products, 5% blank;
// 2% are credit lines with negative values.
//
// The output is byte-identical to the reference script make_product_dbf.py for the same count,
// seed and code page mark: both draw from splitmix64 in the same order.
#pragma once

#include <cstdint>
#include <string>

namespace pv::tools {

struct ProductOptions {
  uint32_t records = 0;
  uint64_t seed = 20240101;
  uint8_t code_page_mark = 0;  // header byte 29; 0x02 marks code page 850
};

// Writes the table to `path`; false (with `*error`) when the file cannot be written.
bool WriteProductTable(const std::string& path, const ProductOptions& options, std::string* error);

}  // namespace pv::tools
