// One Automation call: the argument block built from a native frame's parameters (with the
// storage by-reference arguments point at), name lookup and Invoke, each storing its result as
// the last status.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "com/com.h"
#include "item.h"

namespace ole {

// The arguments first .. first+count-1 of the running native call, converted to VARIANTs in
// reverse order. By-reference arguments point into storage of the block and are written back
// to their variables by WriteBack(). Must not outlive the frame.
class ArgBlock {
 public:
  ArgBlock(int first, int count);
  ArgBlock(const ArgBlock&) = delete;
  ArgBlock& operator=(const ArgBlock&) = delete;
  ~ArgBlock();

  // S_OK, or the failure of a conversion that cannot go out (arrays nested too deep).
  com::HRESULT status() const { return status_; }
  int count() const { return count_; }
  // The arguments as Invoke takes them; with `put`, the last one is the named
  // DISPID_PROPERTYPUT value.
  com::DISPPARAMS Params(bool put);
  // Whether a put should try DISPATCH_PROPERTYPUTREF first: the first argument was passed by
  // reference or is an array or an object.
  bool FirstWantsPutRef() const { return firstRefLike_; }
  // Stores the VARIANTs of by-reference arguments into their variables.
  void WriteBack();

 private:
  // Calls with up to kInline arguments keep their VARIANTs here, larger ones on the heap.
  static constexpr int kInline = 6;
  std::array<com::VARIANT, 2 * kInline> inline_;
  std::vector<com::VARIANT> heap_;
  int count_;
  com::VARIANT* args_;   // last argument first
  com::VARIANT* store_;  // values by-reference arguments point at, in argument order (set
                         // only for those)
  std::array<PV_ITEM, kInline> inlineRefs_;
  std::vector<PV_ITEM> heapRefs_;
  PV_ITEM* refs_;        // the by-reference parameter items (nullptr for others)
  com::DISPID putId_ = com::DISPID_PROPERTYPUT;
  com::HRESULT status_ = com::S_OK;
  bool firstRefLike_ = false;
};

// GetIDsOfNames of `name` for a message with `argc` arguments: a name "_X" with arguments is
// first looked up as "X" (then *put is set), else as written.
com::HRESULT LookupName(com::IDispatch* d, const char* name, std::size_t len, int argc,
                        com::DISPID* id, bool* put);
// What is learnt of a member of a fixed-name class beyond its id, kept with its lookup answer.
struct MemberNotes {
  bool refusesMethod = false;  // a method call was answered DISP_E_MEMBERNOTFOUND
};
// LookupName of a message whose name text lives as long as the program (a symbol's name). The
// answers of servers whose names are fixed per class (IID_IFixedNames) are remembered per
// (class, name, with arguments or not) and given again without asking the server; *notes is
// then the member's notes (living as long as the program), else nullptr.
com::HRESULT LookupMessage(com::IDispatch* d, const char* name, int argc, com::DISPID* id, bool* put,
                           MemberNotes** notes);
// Invoke with the exception record zeroed first; `result` may be null.
com::HRESULT InvokeMember(com::IDispatch* d, com::DISPID id, com::WORD flags, com::DISPPARAMS* params,
                          com::VARIANT* result);
// A property put of the block's arguments: PUTREF first when `tryRef`, then PUT.
com::HRESULT PutMember(com::IDispatch* d, com::DISPID id, ArgBlock& args, bool tryRef);

}  // namespace ole
