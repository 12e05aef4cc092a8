// Helpers for implementing COM objects: a reference-counting base and an IEnumVARIANT over a
// list of values.
#pragma once

#include <vector>

#include "com/interfaces.h"

namespace com {

// Implements AddRef/Release for one interface chain `Base` (IDispatch, IEnumVARIANT, …);
// the object starts with one reference, owned by its creator.
template <class Base>
class RefCounted : public Base {
 public:
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  RefCounted() = default;
  ~RefCounted() override = default;

 private:
  ULONG refs_ = 1;
};

// Creates an enumerator over copies of `items` (the vector's variants are taken over).
// The result carries one reference.
IEnumVARIANT* CreateVariantEnumerator(std::vector<VARIANT> items);

}  // namespace com
