// Collection properties called with an index: Worksheets(1) is Worksheets.Item(1).
#include "objects.h"

namespace sheet {

void ReturnCollection(com::Call& call, com::IDispatch* collection) {
  com::ComPtr<com::IDispatch> owned = com::ComPtr<com::IDispatch>::Adopt(collection);
  if (call.Count() == 0) return call.ReturnDispatch(owned.Detach());
  std::vector<com::VARIANT> args(call.Count());
  for (std::size_t i = 0; i < args.size(); ++i) args[args.size() - 1 - i] = call.Arg(i);  // shallow: no ownership
  com::DISPPARAMS params = {args.data(), nullptr, com::UINT(args.size()), 0};
  com::VARIANT result;
  com::VariantInit(&result);
  com::EXCEPINFO info = {};
  com::HRESULT h = owned->Invoke(com::DISPID_VALUE, com::IID_NULL, 0,
                                 com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET, &params,
                                 &result, &info, nullptr);
  if (com::FAILED(h)) {
    std::u16string description(com::BstrView(info.bstrDescription));
    com::ClearExcepInfo(&info);
    throw com::DispatchError{h, description, 0};
  }
  call.ReturnVariant(&result);
}

}  // namespace sheet
