// Driver subcodes and the general error codes the runtime boundary gives them.
//
// A failed Status of the storage layers carries a driver subcode (status.h). When the table
// driver turns it into an error object it takes the general code and description from here;
// the verdict flags, OS code and file name come from the Status itself.
//
//   SUBCODE  GENERAL  DESCRIPTION
//   1001     21       "Open error"
//   1002     21       "Open error"          (memo file)
//   1004     20       "Create error"
//   1005     20       "Create error"        (memo file)
//   1010     23       "Read error"
//   1011     24       "Write error"
//   1012     32       "Corruption detected"
//   1020     33       "Data type error"
//   1021     34       "Data width error"
//   1022     38       "Lock required"
//   1023     37       "Exclusive required"
//   1024     40       "Append lock failed"
//   1025     39       "Write not allowed"
//   1038     41       "Lock Failure"
//   1056     20 / 21  "Create error" / "Open error" (memo type out of range, by operation)
//   other    30       "Operation not supported"
#pragma once

#include <cstdint>

namespace pv {

struct GeneralError {
  uint32_t gencode;
  const char* description;
};

// The general code of `subcode`; `creating` chooses between 20 and 21 for subcode 1056.
GeneralError GeneralErrorFor(int subcode, bool creating = false);

}  // namespace pv
