// Driver subcodes to general error codes.
#include "error_map.h"

#include "status.h"

namespace pv {

GeneralError GeneralErrorFor(int subcode, bool creating) {
  switch (subcode) {
    case kSubOpen:
    case kSubMemoOpen: return {21, "Open error"};
    case kSubCreate:
    case kSubMemoCreate: return {20, "Create error"};
    case kSubRead: return {23, "Read error"};
    case kSubWrite: return {24, "Write error"};
    case kSubCorrupt: return {32, "Corruption detected"};
    case kSubDataType: return {33, "Data type error"};
    case kSubDataWidth: return {34, "Data width error"};
    case kSubLockRequired: return {38, "Lock required"};
    case kSubExclusiveRequired: return {37, "Exclusive required"};
    case kSubAppendLock: return {40, "Append lock failed"};
    case kSubReadOnly: return {39, "Write not allowed"};
    case kSubMemoLock: return {41, "Lock Failure"};
    case kSubMemoType: return creating ? GeneralError{20, "Create error"} : GeneralError{21, "Open error"};
    default: return {30, "Operation not supported"};
  }
}

}  // namespace pv
