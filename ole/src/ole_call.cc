// Argument blocks, name lookup and Invoke.
#include "ole_call.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>

#include "ole/ole.h"
#include "ole_convert.h"
#include "ole_state.h"
#include "vm.h"

namespace ole {

using namespace com;

namespace {

// Makes `arg` point at the storage VARIANT `store` (already holding the value).
void PointAt(VARIANT* arg, VARIANT* store) {
  if (store->vt == VT_EMPTY || store->vt == VT_NULL) {
    arg->vt = store->vt;
    return;
  }
  arg->vt = static_cast<VARTYPE>(store->vt | VT_BYREF);
  arg->byref = (store->vt & VT_ARRAY) ? static_cast<void*>(&store->parray) : static_cast<void*>(&store->llVal);
}

bool RefLike(PV_ITEM raw) {
  if (PV_IS_BYREF(raw)) return true;
  return PV_IS_ARRAY(pv_itemUnRef(raw));
}

}  // namespace

ArgBlock::ArgBlock(int first, int count) : count_(count < 0 ? 0 : count) {
  VARIANT* all = inline_.data();
  refs_ = inlineRefs_.data();
  if (count_ > kInline) {
    heap_.resize(2 * static_cast<std::size_t>(count_));
    heapRefs_.assign(static_cast<std::size_t>(count_), nullptr);
    all = heap_.data();
    refs_ = heapRefs_.data();
  }
  args_ = all;
  store_ = all + count_;
  for (int i = 0; i < count_; ++i) {
    PV_ITEM raw = pv_stackItemFromBase(first + i);
    VARIANT* arg = &args_[count_ - 1 - i];
    VariantInit(arg);
    if (i == 0) firstRefLike_ = RefLike(raw);
    HRESULT h;
    if (PV_IS_BYREF(raw)) {
      refs_[i] = raw;
      VariantInit(&store_[i]);
      h = pv_oleItemToVariant(&store_[i], raw);
      PointAt(arg, &store_[i]);
    } else {
      refs_[i] = nullptr;
      h = pv_oleItemToVariant(arg, raw);
    }
    if (FAILED(h) && SUCCEEDED(status_)) status_ = h;
  }
}

ArgBlock::~ArgBlock() {
  for (int i = 0; i < count_; ++i) {
    if (refs_[i]) VariantClear(&store_[i]);
    else VariantClear(&args_[count_ - 1 - i]);
  }
}

DISPPARAMS ArgBlock::Params(bool put) {
  DISPPARAMS p{count_ ? args_ : nullptr, nullptr, static_cast<UINT>(count_), 0};
  if (put) {
    p.rgdispidNamedArgs = &putId_;
    p.cNamedArgs = 1;
  }
  return p;
}

void ArgBlock::WriteBack() {
  for (int i = 0; i < count_; ++i) {
    if (!refs_[i]) continue;
    PvItem value{PV_IT_NIL, {}};
    VariantToItem(&value, &store_[i]);
    pv_itemCopy(pv_itemUnRefWrite(refs_[i]), &value);
    pv_itemClear(&value);
    VariantClear(&store_[i]);
  }
}

namespace {

// GetIDsOfNames of one ANSI name; short names are converted on the stack.
HRESULT LookupOne(IDispatch* d, const char* name, std::size_t len, LCID lcid, DISPID* id) {
  OLECHAR buffer[64];
  std::u16string longName;
  LPCOLESTR names[] = {buffer};
  if (len < std::size(buffer)) {
    int n = MultiByteToWideChar(CP_ACP, 0, name, static_cast<int>(len), buffer, static_cast<int>(len));
    buffer[n] = 0;
  } else {
    longName = AnsiToWide(std::string_view(name, len));
    names[0] = longName.c_str();
  }
  return SetStatus(d->GetIDsOfNames(IID_NULL, names, 1, lcid, id));
}

}  // namespace

HRESULT LookupName(IDispatch* d, const char* name, std::size_t len, int argc, DISPID* id, bool* put) {
  *put = len > 1 && name[0] == '_' && argc >= 1 && SUCCEEDED(LookupOne(d, name + 1, len - 1, LOCALE_SYSTEM_DEFAULT, id));
  return *put ? state().status : LookupOne(d, name, len, 0, id);
}

namespace {

// The implementation class of a dispatch (its vtable) when its names are fixed per class, else
// nullptr. Each class is asked once.
const void* FixedNamesClass(IDispatch* d) {
  static std::unordered_map<const void*, bool> fixed;
  const void* cls = *reinterpret_cast<const void* const*>(d);
  auto it = fixed.find(cls);
  if (it == fixed.end()) {
    void* p = nullptr;
    bool yes = SUCCEEDED(d->QueryInterface(IID_IFixedNames, &p)) && p;
    if (p) static_cast<IUnknown*>(p)->Release();
    it = fixed.emplace(cls, yes).first;
  }
  return it->second ? cls : nullptr;
}

struct MessageKey {
  const void* cls;
  const char* name;
  bool withArgs;
  bool operator==(const MessageKey&) const = default;
};
struct MessageKeyHash {
  std::size_t operator()(const MessageKey& k) const {
    return std::hash<const void*>()(k.cls) * 31 + std::hash<const void*>()(k.name) * 2 + k.withArgs;
  }
};
struct MessageAnswer {
  std::string name;  // the text the key's pointer held, checked at every use
  DISPID id;
  bool put;
  MemberNotes notes;
};

std::unordered_map<MessageKey, MessageAnswer, MessageKeyHash>& answers() {
  static std::unordered_map<MessageKey, MessageAnswer, MessageKeyHash> table;
  return table;
}

// The answers used last, one per slot chosen by the key's pointers: a send repeated in a loop
// finds its answer here without hashing. Only answers of fixed-name classes are entered.
struct RecentAnswer {
  MessageKey key{nullptr, nullptr, false};
  MessageAnswer* answer = nullptr;  // an element of answers(), which never goes
};
constexpr std::size_t kRecentSlots = 256;

RecentAnswer& RecentSlot(const MessageKey& key) {
  static std::array<RecentAnswer, kRecentSlots> slots;
  auto bits = reinterpret_cast<std::uintptr_t>(key.cls) ^ (reinterpret_cast<std::uintptr_t>(key.name) >> 3);
  return slots[(bits ^ (bits >> 11) ^ key.withArgs) % kRecentSlots];
}

HRESULT Answer(MessageAnswer& a, DISPID* id, bool* put, MemberNotes** notes) {
  *id = a.id;
  *put = a.put;
  *notes = &a.notes;
  return SetStatus(S_OK);
}

}  // namespace

HRESULT LookupMessage(IDispatch* d, const char* name, int argc, DISPID* id, bool* put, MemberNotes** notes) {
  const void* vtable = *reinterpret_cast<const void* const*>(d);
  RecentAnswer& recent = RecentSlot(MessageKey{vtable, name, argc >= 1});
  if (recent.answer && recent.key == MessageKey{vtable, name, argc >= 1} && recent.answer->name == name)
    return Answer(*recent.answer, id, put, notes);
  *notes = nullptr;
  const void* cls = FixedNamesClass(d);
  MessageKey key{cls, name, argc >= 1};
  if (cls) {
    auto it = answers().find(key);
    if (it != answers().end() && it->second.name == name) {
      recent = RecentAnswer{key, &it->second};
      return Answer(it->second, id, put, notes);
    }
  }
  HRESULT h = LookupName(d, name, std::strlen(name), argc, id, put);
  if (cls && SUCCEEDED(h)) {
    recent = RecentAnswer{key, &(answers()[key] = MessageAnswer{name, *id, *put, {}})};
    *notes = &recent.answer->notes;
  }
  return h;
}

HRESULT InvokeMember(IDispatch* d, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) {
  ClearException();
  return SetStatus(d->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, params, result,
                             &state().excep, &state().argErr));
}

HRESULT PutMember(IDispatch* d, DISPID id, ArgBlock& args, bool tryRef) {
  DISPPARAMS p = args.Params(true);
  if (tryRef && SUCCEEDED(InvokeMember(d, id, DISPATCH_PROPERTYPUTREF, &p, nullptr))) return state().status;
  return InvokeMember(d, id, DISPATCH_PROPERTYPUT, &p, nullptr);
}

}  // namespace ole
