// The one table behind every handle value of this layer (windows, device contexts, GDI objects,
// global memory blocks, registry keys). A handle is (slot + 1) << 8 | generation, so a stale or
// made-up handle is recognised and refused instead of reaching a freed object.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace pv::win32 {

enum class Kind : uint8_t { Window, DC, Pen, Brush, Font, Bitmap, Global, Key, Count };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  const Kind kind;
  uint32_t handle = 0;
};

class HandleTable {
 public:
  uint32_t add(std::unique_ptr<Object> object);
  Object* find(uint32_t handle) const;
  template <class T>
  T* find(uint32_t handle, Kind kind) const {
    Object* o = find(handle);
    return o && o->kind == kind ? static_cast<T*>(o) : nullptr;
  }
  std::unique_ptr<Object> remove(uint32_t handle);
  size_t count(Kind kind) const { return counts_[static_cast<int>(kind)]; }
  void clear();

 private:
  struct Slot {
    std::unique_ptr<Object> object;
    uint8_t generation = 1;
  };
  std::vector<Slot> slots_;
  std::vector<uint32_t> free_;
  size_t counts_[static_cast<int>(Kind::Count)] = {};
};

inline uint32_t handleValue(const void* h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); }
template <class H>
H makeHandle(uint32_t value) {
  return reinterpret_cast<H>(static_cast<uintptr_t>(value));
}

}  // namespace pv::win32
