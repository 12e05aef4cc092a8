// IEnumVARIANT over a list of values, handed out by collections through DISPID_NEWENUM.
#include <memory>

#include "com/object.h"

namespace com {
namespace {

class VariantEnumerator final : public RefCounted<IEnumVARIANT> {
 public:
  VariantEnumerator(std::shared_ptr<std::vector<VARIANT>> items, std::size_t pos)
      : items_(std::move(items)), pos_(pos) {}

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
      AddRef();
      *out = static_cast<IEnumVARIANT*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out && count) return E_POINTER;
    ULONG n = 0;
    while (n < count && pos_ < items_->size()) {
      VariantInit(&out[n]);
      HRESULT h = VariantCopy(&out[n], &(*items_)[pos_]);
      if (FAILED(h)) return h;
      ++n;
      ++pos_;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }

  HRESULT Skip(ULONG count) override {
    std::size_t left = items_->size() - pos_;
    pos_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }

  HRESULT Reset() override {
    pos_ = 0;
    return S_OK;
  }

  HRESULT Clone(IEnumVARIANT** out) override {
    if (!out) return E_POINTER;
    *out = new VariantEnumerator(items_, pos_);
    return S_OK;
  }

 private:
  std::shared_ptr<std::vector<VARIANT>> items_;
  std::size_t pos_;
};

struct VariantListDeleter {
  void operator()(std::vector<VARIANT>* v) const {
    for (auto& x : *v) VariantClear(&x);
    delete v;
  }
};

}  // namespace

IEnumVARIANT* CreateVariantEnumerator(std::vector<VARIANT> items) {
  std::shared_ptr<std::vector<VARIANT>> shared(new std::vector<VARIANT>(std::move(items)),
                                               VariantListDeleter());
  return new VariantEnumerator(std::move(shared), 0);
}

}  // namespace com
