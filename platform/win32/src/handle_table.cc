// The handle table: slot reuse with generation counts.
#include "handle_table.h"

namespace pv::win32 {

uint32_t HandleTable::add(std::unique_ptr<Object> object) {
  uint32_t slot;
  if (!free_.empty()) {
    slot = free_.back();
    free_.pop_back();
  } else {
    slot = static_cast<uint32_t>(slots_.size());
    slots_.emplace_back();
  }
  Slot& s = slots_[slot];
  uint32_t handle = ((slot + 1) << 8) | s.generation;
  object->handle = handle;
  counts_[static_cast<int>(object->kind)]++;
  s.object = std::move(object);
  return handle;
}

Object* HandleTable::find(uint32_t handle) const {
  uint32_t slot = (handle >> 8);
  if (slot == 0 || slot > slots_.size()) return nullptr;
  const Slot& s = slots_[slot - 1];
  if (!s.object || s.generation != (handle & 0xFF)) return nullptr;
  return s.object.get();
}

std::unique_ptr<Object> HandleTable::remove(uint32_t handle) {
  if (!find(handle)) return nullptr;
  uint32_t slot = (handle >> 8) - 1;
  Slot& s = slots_[slot];
  std::unique_ptr<Object> object = std::move(s.object);
  counts_[static_cast<int>(object->kind)]--;
  s.generation = static_cast<uint8_t>(s.generation == 255 ? 1 : s.generation + 1);
  free_.push_back(slot);
  return object;
}

void HandleTable::clear() {
  slots_.clear();
  free_.clear();
  for (auto& c : counts_) c = 0;
}

}  // namespace pv::win32
